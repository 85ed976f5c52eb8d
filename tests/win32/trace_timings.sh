#!/usr/bin/env bash
# How long Velmora.exe keeps the user waiting under Wine, read from its own
# trace (VELMORA_TRACE): with the Channel tab showing, a full database opened
# through the file dialog (open-chosen to the list's first paint); the
# Channel tab chosen again (tab-chosen to list-painted); and F8 on it (the
# key posted to the window until the list is painted). Each figure is the
# median of RUNS fresh starts of the program.
#
#   tests/win32/trace_timings.sh WINDOWS_BUILD_DIR HOST_VELMORA_CLI [RUNS] [FIRST]
#
# The database is full: 64 satellites, 1600 transponders and 6000 channels,
# FIRST of them (default 4000, the most one satellite holds) on the first
# satellite, the one the Channel tab shows after loading.
# Uses $WINEPREFIX when it is set up, else makes a fresh one of its own.
set -euo pipefail

build="$(cd "$1" && pwd)"
cli="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
runs="${3:-5}"
first="${4:-4000}"
title="Velmora 1.00"
tab_id=1001
vk_f8=119

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-trace.XXXXXX")"
own_prefix=0
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "${WINEPREFIX}/system.reg" ]; then
  export WINEPREFIX="$work/prefix"
  own_prefix=1
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
app_pid=""

cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  if [ "$own_prefix" = 1 ]; then timeout 30 wineserver -k 2>/dev/null || true; fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "trace timings FAILED: $*" >&2
  exit 1
}
probe() { timeout 300 wine "$build/tests/win32/velmora_probe.exe" "$@" | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
if [ "$own_prefix" = 1 ]; then
  timeout 180 wineboot --init >/dev/null 2>&1 || fail "wineboot --init did not finish"
fi

# The full database.
python3 - "$work/full.json" "$first" <<'EOF'
import json, sys
first = int(sys.argv[2])
rest = 6000 - first
sats = []
for i in range(64):
    tps = [{"polarization": "HV"[t % 2], "frequency": str(10700 + i * 7 + t * 40),
            "symbolRate": "27500", "nid": str(i + 1), "tid": str(t + 1)} for t in range(25)]
    n = first if i == 0 else rest // 63 + (1 if i - 1 < rest % 63 else 0)
    svcs = []
    for c in range(n):
        tp = tps[c % 25]
        key = f'{tp["frequency"]}{tp["polarization"]}{tp["symbolRate"]}N{tp["nid"]}T{tp["tid"]}'
        svcs.append({"name": f"Channel {i:02d}-{c:04d}", "videoPid": str(100 + c % 7000),
                     "audioPid": str(200 + c % 7000), "pcrPid": str(100 + c % 7000),
                     "serviceId": str(c + 1), "serviceType": 1, "tpKey": key})
    sats.append({"name": f"Satellite {i:02d}", "lnbType": "Universal", "lnbFreq1": "9750",
                 "lnbFreq2": "10600", "diseqc": "NONE", "tone22k": "Auto", "switch12v": "Off",
                 "lnbPower": "On", "sdxCode": f"{i:04d}", "diseqcCommitted": "0",
                 "diseqcUncommitted": "0", "transponders": tps, "services": svcs})
json.dump({"layout": "I", "satellites": sats}, open(sys.argv[1], "w"))
EOF
"$cli" build "$work/full.json" --layout I -o "$work/full.wdb" >/dev/null

trace="$work/trace.txt"
# Lines of the trace naming event $1.
count() {
  local n
  n="$(grep -c " $1\$" "$trace" 2>/dev/null)" || true
  echo "${n:-0}"
}
# Until the trace names event $1 at least $2 times.
wait_count() {
  for _ in $(seq 3000); do
    [ "$(count "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "no \"$1\" in the trace"
}
# The time of the $2-th line naming event $1.
time_of() { grep " $1\$" "$trace" | sed -n "${2}p" | cut -d' ' -f1; }
# The first list-painted at or after time $1.
painted_after() { awk -v t="$1" '$2 == "list-painted" && $1 >= t { print $1; exit }' "$trace"; }
focus() {
  local w
  w="$(timeout 10 xdotool search --name "^$1( - .*|\\*)?\$" | head -1)" || true
  [ -n "$w" ] || fail "no X window named \"$1\""
  timeout 10 xdotool windowfocus --sync "$w" || fail "cannot focus \"$1\""
}
# Clicks the first tab, then goes right $1 tabs with the arrow key, each
# change waited for.
choose_tab() {
  local n
  read -r tx ty _ _ < <(probe rect "$title" "$tab_id")
  n="$(count tab-chosen)"
  timeout 10 xdotool mousemove "$((tx + 25))" "$((ty + 10))" click 1
  sleep 0.5
  n="$(count tab-chosen)"
  for _ in $(seq "$1"); do
    timeout 10 xdotool key Right
    n=$((n + 1))
    wait_count tab-chosen "$n"
  done
}

open_ms=()
tab_ms=()
sort_ms=()
for run in $(seq "$runs"); do
  rm -f "$trace"
  VELMORA_TRACE="$(winpath "$trace")" wine "$build/Velmora.exe" >"$work/velmora.log" 2>&1 &
  app_pid=$!
  probe wait "$title" 60000 >/dev/null || fail "the window did not appear"
  wait_count first-paint 1
  focus "$title"
  choose_tab 2

  # Open through the file dialog with the Channel tab showing.
  timeout 10 xdotool key F3
  probe wait "Open" 30000 || fail "F3 did not show the file dialog"
  focus "Open"
  timeout 30 xdotool type --delay 5 "$(winpath "$work/full.wdb")"
  timeout 10 xdotool key Return
  wait_count load-done 1
  loaded="$(time_of load-done 1)"
  for _ in $(seq 3000); do [ -n "$(painted_after "$loaded")" ] && break; sleep 0.1; done
  open_ms+=($(($(painted_after "$loaded") - $(time_of open-chosen 1))))

  # The Channel tab chosen again, from the Transponder tab.
  focus "$title"
  choose_tab 1
  chosen="$(count tab-chosen)"
  timeout 10 xdotool key Right
  wait_count tab-chosen $((chosen + 1))
  at="$(time_of tab-chosen $((chosen + 1)))"
  for _ in $(seq 3000); do [ -n "$(painted_after "$at")" ] && break; sleep 0.1; done
  tab_ms+=($(($(painted_after "$at") - at)))

  # F8 sorts the Channel tab.
  sort_ms+=("$(probe key-until "$title" "$vk_f8" "$(winpath "$trace")" list-painted 300000)")

  echo "run $run: open ${open_ms[-1]} ms, Channel tab ${tab_ms[-1]} ms, F8 ${sort_ms[-1]} ms"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median of $runs, $first channels on the Channel tab:" \
  "open-chosen -> list-painted $(median "${open_ms[@]}") ms," \
  "tab-chosen -> list-painted $(median "${tab_ms[@]}") ms," \
  "F8 -> list-painted $(median "${sort_ms[@]}") ms"
