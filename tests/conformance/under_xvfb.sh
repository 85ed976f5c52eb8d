#!/usr/bin/env bash
# Runs a command in a virtual X display of its own, which it takes away
# afterwards: Wine makes no window without a display.
#
#   tests/conformance/under_xvfb.sh COMMAND [ARGS...]
set -euo pipefail

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-xvfb.XXXXXX")"
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
  echo "under_xvfb: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
  exit 1
fi
DISPLAY=":$(head -1 "$work/display")" "$@"
