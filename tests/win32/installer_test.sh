#!/usr/bin/env bash
# The Windows installer under Wine, as a user's machine meets it:
#
#   tests/win32/installer_test.sh SETUP_EXE ZIP HOST_VELMORA_CLI
#
# The machine already has other programs' types for *.wdb and *.sdx. Then
# "setup.exe /S" installs for all users: the files of the zip, byte for
# byte, in Program Files with the uninstaller, the Start-menu entry, *.wdb
# opening in Velmora.exe with its description, icon and quoted open command,
# *.sdx offered under "Open with" while it keeps its own type, and the
# uninstall entry. "wine start" on a *.wdb file (a name with a blank) opens
# it in the editor, whose window names the file. The uninstall entry's own
# quiet command removes it all: no file, shortcut, registry key or value of
# its own is left, *.wdb has its former type back and *.sdx what it had.
# The same again for one user ("/S /CurrentUser"), in the user's programs
# folder and HKCU, with all users' keys untouched; before that uninstall,
# with the editor running, the quiet uninstall and a setup over it exit
# with 2 and the uninstaller's window asks to close the editor (Cancel
# gives up), each leaving the installation whole.
#
# Runs in a Wine prefix of its own, made fresh and removed after. Every step
# has a time limit; nothing is left running afterwards.
set -euo pipefail

setup="$(realpath "$1")"
zip="$(realpath "$2")"
cli="$(realpath "$3")"
src="$(cd "$(dirname "$0")/../.." && pwd)"

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-installer.XXXXXX")"
# A fresh prefix: no earlier install takes part, and the uninstall can be
# waited for as the end of every Wine process in it.
export WINEPREFIX="$work/prefix"
# winemenubuilder would copy the Start-menu entry and the file types into
# the Linux desktop of whoever runs the test.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export XDG_DATA_HOME="$work/xdg" XDG_CONFIG_HOME="$work/xdg-config"
xvfb_pid=""
open_pid=""

cleanup() {
  [ -n "$open_pid" ] && kill "$open_pid" 2>/dev/null || true
  timeout 30 wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

fail() {
  echo "installer test FAILED: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

# The data of a registry value ("" for the default one), or nothing.
regval() {
  local which=(/ve)
  [ -n "${2:-}" ] && which=(/v "$2")
  timeout 60 wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
    sed -nE 's/^    .*    REG_[A-Z_]+    ?(.*)$/\1/p' | head -n 1
}
expect_reg() {
  local got
  got="$(regval "$1" "$2")"
  [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is \"$got\", not \"$3\""
}
# Until every Wine process has ended, which also writes the registry files.
settle() { timeout 120 wineserver -w || fail "Wine processes still run after $1"; }
# Registry lines naming the program or the two file types (keys without the
# time they were written), in the files Wine keeps the registry in.
traces() {
  grep -ihE 'velmora|\\\\\.(wdb|sdx)\b' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" |
    sed -E 's/^(\[.*\]) [0-9]+$/\1/' | sort || true
}

# A display of our own, for the editor's window.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"

timeout 180 wineboot --init >/dev/null 2>&1 || fail "wineboot --init did not finish"

"$cli" build "$src/tests/data/sample_db.json" --layout I -o "$work/My channels.wdb" >/dev/null
mkdir "$work/zip"
unzip -q "$zip" -d "$work/zip"

# Another program's types, which the installer has to respect.
classes='HKLM\Software\Classes'
timeout 60 wine reg add "$classes\\.wdb" /ve /d Other.wdb /f >/dev/null
timeout 60 wine reg add "$classes\\.sdx" /ve /d Other.sdx /f >/dev/null
timeout 60 wine reg add "$classes\\.sdx\\OpenWithProgids" /v Other.sdx /d "" /f >/dev/null
settle "setting up"
traces >"$work/traces.before"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'

# Runs the uninstall entry's quiet command, as a package manager does, with
# its exit code. The command ends in "_?=" and the folder, blanks and all,
# which Wine joins again from the words as they were. Once it has checked
# that no program of the installation runs, the uninstaller starts a copy
# in the temporary folder and returns: the copy's end is waited for.
quiet_uninstall() {
  local command exe args
  command="$(regval "$1\\$uninstall_key" QuietUninstallString)"
  [[ "$command" =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "no quiet uninstall command in $1"
  exe="${BASH_REMATCH[1]}"
  read -r -a args <<<"${BASH_REMATCH[2]}"
  timeout 120 wine "$exe" "${args[@]}" >/dev/null 2>&1
}
uninstall() {
  quiet_uninstall "$1" || fail "the uninstaller failed"
  settle "uninstalling"
}

# The first window whose name matches, waited for up to a minute.
find_window() {
  local id=""
  for _ in $(seq 300); do
    id="$(xdotool search --name "$1" 2>/dev/null | head -n 1)" || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}

# The editor on the test database (a name with a blank), the given
# Velmora.exe or, by "wine start", the one its file type names (Wine finds
# file types for all users only); its window names the file.
window=""
open_editor() {
  if [ -n "${1:-}" ]; then
    timeout 180 wine "$1" "$(winepath -w "$work/My channels.wdb")" >/dev/null 2>&1 &
  else
    timeout 180 wine start /wait /unix "$work/My channels.wdb" >/dev/null 2>&1 &
  fi
  open_pid=$!
  window="$(find_window '^Velmora 1\.00 - My channels\.wdb$')"
  [ -n "$window" ] || fail "no window \"Velmora 1.00 - My channels.wdb\" appeared"
}
close_editor() {
  timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the editor"
  timeout 10 xdotool key alt+F4
  for _ in $(seq 150); do kill -0 "$open_pid" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$open_pid" 2>/dev/null && fail "the editor did not close"
  open_pid=""
  settle "closing the editor"
}

# Left behind: files, shortcut, registry lines naming the program; the
# other program's types are as they were.
check_removed() {
  [ ! -e "$1" ] || fail "the uninstaller left $(find "$1" | head -n 5)"
  [ ! -e "$2" ] || fail "the uninstaller left the Start-menu entry"
  traces >"$work/traces.after"
  diff "$work/traces.before" "$work/traces.after" >&2 || fail "the registry keeps what the setup wrote"
  expect_reg "$classes\\.wdb" "" Other.wdb
  expect_reg "$classes\\.sdx" "" Other.sdx
  timeout 60 wine reg query "$classes\\.sdx\\OpenWithProgids" /v Other.sdx >/dev/null 2>&1 ||
    fail "the uninstaller took the other program from \"Open with\" for *.sdx"
}

# 1. For all users.
step "setup.exe /S"
timeout 180 wine "$setup" /S >/dev/null 2>&1 || fail "setup.exe /S failed"
settle "installing"
dir="$WINEPREFIX/drive_c/Program Files/Velmora"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora.lnk"
[ -f "$dir/Uninstall.exe" ] || fail "no uninstaller in Program Files\\Velmora"
diff -r -x Uninstall.exe "$work/zip" "$dir" >&2 || fail "the installed files are not the zip's"
[ -f "$link" ] || fail "no Start-menu entry"

step "the file types"
exe='C:\Program Files\Velmora\Velmora.exe'
expect_reg 'HKCR\.wdb' "" Velmora.wdb
expect_reg 'HKCR\Velmora.wdb' "" "Velmora channel database"
expect_reg 'HKCR\Velmora.wdb\DefaultIcon' "" "$exe,0"
expect_reg 'HKCR\Velmora.wdb\shell\open\command' "" "\"$exe\" \"%1\""
expect_reg 'HKCR\.sdx' "" Other.sdx
timeout 60 wine reg query 'HKCR\.sdx\OpenWithProgids' /v Velmora.sdx >/dev/null 2>&1 ||
  fail "*.sdx does not offer Velmora under \"Open with\""
expect_reg 'HKCR\Velmora.sdx\shell\open\command' "" "\"$exe\" \"%1\""
expect_reg "HKLM\\$uninstall_key" DisplayName Velmora

step "wine start on a *.wdb file"
open_editor
close_editor

step "uninstall"
uninstall HKLM
check_removed "$dir" "$link"

# 2. For one user: the user's own programs folder and keys.
step "setup.exe /S /CurrentUser"
timeout 180 wine "$setup" /S /CurrentUser >/dev/null 2>&1 || fail "setup.exe /S /CurrentUser failed"
settle "installing for one user"
user_dir="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Velmora 2>/dev/null | head -n 1)"
[ -n "$user_dir" ] || fail "nothing installed in the user's programs folder"
user_link="$(dirname "$(dirname "$(dirname "$user_dir")")")/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora.lnk"
diff -r -x Uninstall.exe "$work/zip" "$user_dir" >&2 || fail "the installed files are not the zip's"
[ -f "$user_link" ] || fail "no Start-menu entry for the user"
[ ! -e "$dir" ] || fail "an install for one user wrote to Program Files"
expect_reg 'HKCU\Software\Classes\.wdb' "" Velmora.wdb
user_exe="$(regval "HKCU\\$uninstall_key" InstallLocation)\\Velmora.exe"
expect_reg 'HKCU\Software\Classes\Velmora.wdb\shell\open\command' "" "\"$user_exe\" \"%1\""
expect_reg "$classes\\.wdb" "" Other.wdb
[ -z "$(regval "HKLM\\$uninstall_key" DisplayName)" ] || fail "an install for one user wrote to HKLM"

# While the editor runs, its files stay: the quiet uninstall and a setup
# over it fail with exit code 2, and the uninstaller's window asks to
# close it, where Esc (Cancel) gives up; the installation stays whole with
# its uninstall entry.
step "uninstall and setup while the editor runs"
open_editor "$user_dir/Velmora.exe"
status=0
quiet_uninstall HKCU || status=$?
[ "$status" = 2 ] || fail "the quiet uninstall exited with $status while the editor ran"
status=0
timeout 180 wine "$setup" /S /CurrentUser >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "setup.exe /S /CurrentUser exited with $status while the editor ran"
timeout 120 wine "$user_dir/Uninstall.exe" /CurrentUser >/dev/null 2>&1 ||
  fail "Uninstall.exe /CurrentUser did not start"
question="$(find_window '^Velmora [0-9.]+ Uninstall$')"
[ -n "$question" ] || fail "the uninstaller did not ask to close the editor"
timeout 10 xdotool windowfocus --sync "$question" || fail "cannot focus the question"
timeout 10 xdotool key Escape
for _ in $(seq 150); do
  xdotool search --name '^Velmora [0-9.]+ Uninstall$' >/dev/null 2>&1 || break
  sleep 0.2
done
sleep 1
xdotool search --name '^Velmora [0-9.]+ Uninstall$' >/dev/null 2>&1 &&
  fail "Cancel did not end the uninstaller"
[ -f "$user_dir/Uninstall.exe" ] || fail "a refused uninstall took the uninstaller"
diff -r -x Uninstall.exe "$work/zip" "$user_dir" >&2 ||
  fail "a refused uninstall or setup changed the files"
expect_reg "HKCU\\$uninstall_key" DisplayName Velmora
close_editor

step "uninstall for one user"
uninstall HKCU
check_removed "$user_dir" "$user_link"
echo "installer test passed"
