#!/usr/bin/env bash
# Start-up of Velmora.exe under Wine against two yardsticks: the bare
# dialog (same manifest, a menu bar and a toolbar) and Wine's notepad. Each
# program is started ROUNDS times, in turns, so that a busy machine weighs
# on all three alike; the medians are printed in milliseconds.
#
#   tests/win32/startup.sh WINDOWS_BUILD_DIR [ROUNDS]
#
# "first-paint" is Velmora.exe's own mark (VELMORA_TRACE), counted from
# the process's start; "window" is what the probe sees from outside: from
# starting the program to its window shown and painted. Uses $WINEPREFIX
# and $DISPLAY as they are; prints figures, passes or fails nothing.
set -euo pipefail

build="$(cd "$1" && pwd)"
rounds="${2:-10}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-startup.XXXXXX")"
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
start() { timeout 60 wine "$build/tests/win32/velmora_probe.exe" start "$@" | tr -d '\r'; }

for _ in $(seq "$rounds"); do
  rm -f "$work/trace"
  echo "velmora-window $(VELMORA_TRACE="$(winpath "$work/trace")" \
    start "$(winpath "$build/Velmora.exe")" "Velmora 1.00")" >>"$work/times"
  awk '$2 == "first-paint" { print "velmora-first-paint", $1 }' "$work/trace" >>"$work/times"
  echo "bare-window $(start "$(winpath "$build/tests/win32/velmora_bare_dialog.exe")" \
    "Bare dialog")" >>"$work/times"
  echo "notepad-window $(start 'C:\windows\notepad.exe' "Untitled - Notepad")" >>"$work/times"
done
sort -k1,1 -k2,2n "$work/times" | awk '
  { v[$1, ++n[$1]] = $2 }
  END { for (k in n) { c = n[k]; m = c % 2 ? v[k, (c + 1) / 2] : (v[k, c / 2] + v[k, c / 2 + 1]) / 2
                       printf "%-20s median %6.1f ms of %d\n", k, m, c } }' | sort
