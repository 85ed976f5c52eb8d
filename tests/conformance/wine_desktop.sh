#!/usr/bin/env bash
# Runs a Windows GoogleTest program under Wine on a desktop of its own, in
# a virtual X display of its own; both go afterwards. Wine makes no window
# without a display, and a prefix's default desktop keeps the display (or
# the lack of one) of whichever program started it first, so the test
# cannot borrow it. The program's result comes from its XML report: Wine
# gives no exit code back from a program run on a desktop.
#
#   tests/conformance/wine_desktop.sh WINE PROGRAM.exe [ARGS...]
set -euo pipefail

wine="$1"
shift
work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-desktop.XXXXXX")"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  echo "wine_desktop: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
  exit 1
fi
# Wine now and then fails to start a program at all on a fresh prefix (it
# ends at once and leaves no report); that is Wine's, not the program's, so
# such a run is tried once more. A program that starts and then dies leaves
# no report either, and dies again on the second run.
report="$work/result.xml"
for attempt in 1 2; do
  DISPLAY=":$(head -1 "$work/display")" "$wine" explorer "/desktop=velmora-$$-$attempt,1280x1024" \
    "$@" "--gtest_output=xml:Z:${work//\//\\}\\result.xml" >"$work/wine.log" 2>&1 || true
  [ -s "$report" ] && break
  echo "wine_desktop: $1 left no report (attempt $attempt); Wine said:" >&2
  tail -n 40 "$work/wine.log" >&2
done
if [ ! -s "$report" ]; then
  echo "wine_desktop: $1 did not finish" >&2
  exit 1
fi
# The summary line: <testsuites tests="6" failures="0" disabled="0" errors="0" ...
if ! grep -q '<testsuites [^>]*failures="0"[^>]*errors="0"' "$report"; then
  cat "$work/wine.log" >&2
  echo "wine_desktop: $1 failed" >&2
  exit 1
fi
