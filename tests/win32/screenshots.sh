#!/usr/bin/env bash
# Photographs Velmora.exe under Wine, for comparing its windows with the Qt
# ones (build/dev/screenshots): each tab with a row picked, the Add channel
# dialog, the About box and a blue tip. Wine draws the window frames itself
# here (a virtual desktop), as Windows would. The screen's scaling is given
# as its DPI (96 is 100 %, 144 is 150 %); with several, each run goes to a
# folder of its own under OUTPUT_DIR (dpi96, dpi144).
#
#   tests/win32/screenshots.sh WINDOWS_BUILD_DIR [OUTPUT_DIR [DPI...]]
#
# Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail

build="$(cd "$1" && pwd)"
out="${2:-$build/screenshots}"
src="$(cd "$(dirname "$0")/../.." && pwd)"
shift $(($# < 2 ? $# : 2))
[ $# -gt 0 ] || set -- 96 144
if [ $# -gt 1 ]; then
  for dpi in "$@"; do "$0" "$build" "$out/dpi$dpi" "$dpi"; done
  exit 0
fi
dpi="$1"
[[ "$dpi" =~ ^[0-9]+$ ]] && [ "$dpi" -ge 96 ] && [ "$dpi" -le 288 ] || {
  echo "screenshots: DPI $dpi is not between 96 and 288" >&2
  exit 2
}
# The screen and the virtual desktop grow with the scaling.
screen_w=$((1024 * dpi / 96)) screen_h=$((768 * dpi / 96))
desk_w=$((1000 * dpi / 96)) desk_h=$((740 * dpi / 96))
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
Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
timeout 180 wineboot --init >/dev/null 2>&1 || fail "wineboot --init did not finish"
# The scaling, where Windows keeps it: the user's setting and the machine's.
for key in 'HKCU\Control Panel\Desktop' \
  'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
  timeout 60 wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
    fail "could not set the DPI"
done

timeout 60 wine "$build/velmora-cli.exe" build "$(echo "Z:$src/tests/data/sample_db.json" | tr / '\\')" \
  --layout I -o 'C:\sample.wdb' >/dev/null
# The editor in a virtual desktop named as the one the probe runs in, so
# that the probe sees its windows; the desktop made by wineboot goes first.
timeout 30 wineserver -k || true
timeout 30 wineserver -w || true
wine explorer "/desktop=Default,${desk_w}x${desk_h}" "$build/Velmora.exe" >/dev/null 2>&1 &
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
click() {  # title control-id dx dy (at 96 DPI)
  local x y w h
  read -r x y w h < <(probe rect "$1" "$2")
  xdotool mousemove "$((x + dx + $3 * dpi / 96))" "$((y + dy + $4 * dpi / 96))" click 1
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
# The tabs by the keyboard, as the titles' widths follow the font.
click "$title" 1001 30 10
xdotool key Right  # Transponder tab
sleep 0.5
click "$title" 1002 60 22
shoot transponder "$title"
click "$title" 1001 30 10
xdotool key Right Right  # Channel tab
sleep 0.5
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
# The tips: each beside its control and inside the screen, photographed
# with the whole screen; the File line's goes when the pointer leaves.
hover() {  # name control-id dx dy (at 96 DPI)
  local x y w h
  read -r x y w h < <(probe rect "$title" "$2")
  xdotool mousemove "$((x + dx + $3 * dpi / 96))" "$((y + dy + $4 * dpi / 96))"
  sleep 2
  import -window root "$out/$1.png"
  echo "$out/$1.png"
}
hover tip_add 1043 10 5
hover tip_longitude 1162 10 5
hover tip_file 1068 10 5
read -r x y w h < <(probe rect "$title" 1000)
xdotool mousemove "$((x + dx + w / 2))" "$((y + dy + h / 2))"
sleep 1
import -window root "$out/tip_file_left.png"
echo "$out/tip_file_left.png"
