#!/usr/bin/env bash
# Photographs Velmora.exe under Wine, for comparing its windows with the Qt
# ones (build/dev/screenshots): each tab with a row picked, the Add channel
# dialog, the About box and a blue tip. Wine draws the window frames itself
# here (a virtual desktop), as Windows would.
#
#   tests/win32/screenshots.sh WINDOWS_BUILD_DIR [OUTPUT_DIR]
#
# Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail

build="$(cd "$1" && pwd)"
out="${2:-$build/screenshots}"
src="$(cd "$(dirname "$0")/../.." && pwd)"
title="Velmora 1.00"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-shots.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  timeout 30 wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "screenshots: $*" >&2
  exit 1
}
# The probe's lines end in CR LF, as Windows programs write them.
probe() { timeout 90 wine "$build/tests/win32/velmora_probe.exe" "$@" | tr -d '\r'; }

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
timeout 180 wineboot --init >/dev/null 2>&1 || fail "wineboot --init did not finish"

timeout 60 wine "$build/velmora-cli.exe" build "$(echo "Z:$src/tests/data/sample_db.json" | tr / '\\')" \
  --layout I -o 'C:\sample.wdb' >/dev/null
# The editor in a virtual desktop named as the one the probe runs in, so
# that the probe sees its windows; the desktop made by wineboot goes first.
timeout 30 wineserver -k || true
timeout 30 wineserver -w || true
wine explorer /desktop=Default,1000x740 "$build/Velmora.exe" >/dev/null 2>&1 &
probe wait "$title" 60000 || fail "no window"
sleep 1

# Window rectangles are in Windows' screen coordinates, those of the
# virtual desktop, which lies somewhere on the X display.
dx=0 dy=0
if desktop="$(xdotool search --name 'Wine desktop' | head -1)" && [ -n "$desktop" ]; then
  eval "$(xdotool getwindowgeometry --shell "$desktop" | head -3)"
  dx="$X" dy="$Y"
fi
shoot() {  # name window-title
  local x y w h
  read -r x y w h < <(probe rect "$2")
  sleep 0.5
  import -window root -crop "${w}x${h}+$((x + dx))+$((y + dy))" "$out/$1.png"
  echo "$out/$1.png"
}
click() {  # title control-id dx dy
  local x y w h
  read -r x y w h < <(probe rect "$1" "$2")
  xdotool mousemove "$((x + dx + $3))" "$((y + dy + $4))" click 1
  sleep 0.5
}

shoot empty "$title"
xdotool key F3
probe wait "Open" 30000 || fail "no file dialog"
sleep 0.5
shoot open_dialog "Open"
xdotool type --delay 5 'C:\sample.wdb'
xdotool key Return
probe wait-rows "$title" 1000 5 30000 >/dev/null || fail "the file did not load"

click "$title" 1000 60 30   # the second satellite
shoot satellite "$title"
click "$title" 1001 110 10  # Transponder tab
click "$title" 1002 60 22
shoot transponder "$title"
click "$title" 1001 185 10  # Channel tab
click "$title" 1005 60 22
shoot channel "$title"

probe command "$title" 32785  # Edit > Add: the Add channel dialog
probe wait "Add channel" 10000 || fail "no Add channel dialog"
click "Add channel" 1120 60 40
shoot add_channel "Add channel"
click "Add channel" 1138 6 6  # show the transponders as lines
shoot add_channel_lines "Add channel"
xdotool key Escape
probe gone "Add channel" 10000 || true

probe command "$title" 32795  # About
probe wait "Velmora  Info." 10000 || fail "no About box"
shoot about "Velmora  Info."
xdotool key Return
probe gone "Velmora  Info." 10000 || true

click "$title" 1001 30 10  # back to the Satellite tab
read -r x y w h < <(probe rect "$title" 1043)
xdotool mousemove "$((x + dx + 10))" "$((y + dy + 5))"
sleep 2
read -r x y w h < <(probe rect "$title")
import -window root -crop "${w}x$((h + 60))+$((x + dx))+$((y + dy))" "$out/tip_add.png"
echo "$out/tip_add.png"
