#!/usr/bin/env bash
# Checks the Debian package as a user's machine would meet it: the desktop
# entry and the AppStream data validate, lintian finds no error, and then
# the package is installed with apt-get, used, and removed again.
#
#   tests/linux/package_test.sh [build/velmora_VERSION_ARCH.deb]
#
# Installed, velmora-cli answers from /usr/bin and reads a database it
# wrote; *.wdb files (any case, and by their content without a name) are of
# the type application/x-velmora-wdb, which velmora.desktop opens; and the
# editor, started in a virtual display by "gio open" on a *.wdb file, shows
# its window and no refusal. After "apt-get remove" none of the package's
# files is left. Needs root (or sudo) for apt-get; no desktop session.
set -euo pipefail
cd "$(dirname "$0")/../.."

deb="${1:-$(ls -t build/velmora_*.deb 2>/dev/null | head -n 1)}"
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "package_test: no package; make it with scripts/package-linux" >&2
  exit 1
fi
deb="$(realpath "$deb")"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-package.XXXXXX")"
chmod 755 "$work"
installed=0
editor_pid=""
cleanup() {
  if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
  if [ "$installed" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq -o DPkg::Lock::Timeout=300 velmora >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "package_test: FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

# A home of its own, so that no user's file associations take part.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CONFIG_DIRS=/etc/xdg
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

step "contents of $(basename "$deb")"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/velmora /usr/bin/velmora-cli /usr/share/velmora/Velmora.html \
  /usr/share/velmora/favor/satlist1.sdx /usr/share/applications/velmora.desktop \
  /usr/share/mime/packages/velmora.xml /usr/share/metainfo/org.velmora.Velmora.metainfo.xml \
  /usr/share/icons/hicolor/16x16/apps/velmora.png /usr/share/icons/hicolor/256x256/apps/velmora.png \
  /usr/share/icons/hicolor/scalable/apps/velmora.svg /usr/share/man/man1/velmora.1.gz \
  /usr/share/man/man1/velmora-cli.1.gz /usr/share/bash-completion/completions/velmora-cli \
  /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || fail "no dependencies on the Qt libraries"

step "desktop-file-validate"
desktop-file-validate "$work/root/usr/share/applications/velmora.desktop"
step "appstreamcli validate --no-net"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.velmora.Velmora.metainfo.xml"
step "lintian"
# Lintian's own exit status counts errors only.
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.log"

step "apt-get install ./$(basename "$deb")"
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed"; then
  fail "velmora is installed already; remove it first (apt-get remove velmora)"
fi
(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=300 "./$(basename "$deb")" >"$work/apt.log" 2>&1) || {
  cat "$work/apt.log" >&2
  fail "apt-get install"
}
installed=1

step "velmora-cli from /usr/bin"
cd "$work"
[ "$(command -v velmora-cli)" = /usr/bin/velmora-cli ] || fail "velmora-cli is not /usr/bin/velmora-cli"
/usr/bin/velmora-cli --version
json="$OLDPWD/tests/data/sample_db.json"
/usr/bin/velmora-cli build "$json" -o x.wdb --layout I
/usr/bin/velmora-cli convert x.wdb -o old.wdb --layout II
/usr/bin/velmora-cli dump x.wdb >x.json
grep -q '"layout": *"I"' x.json || fail "velmora-cli dump did not read back the database it wrote"
[ "$(stat -c %s x.wdb)" = 262144 ] && [ "$(stat -c %s old.wdb)" = 131072 ] ||
  fail "the written files have not the sizes of their layouts"

step "file type and default application"
cp x.wdb UPPER.WDB
cp x.wdb no-name
cp old.wdb old-no-name
printf 'not a database\n' >plain.txt
# Microsoft Works databases are named *.wdb too: an OLE compound file.
{ printf '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1'; head -c 4088 /dev/zero; } >works.wdb
# Without a desktop session xdg-mime asks File::MimeInfo; a GNOME desktop
# asks GIO.
for desktop in "" GNOME; do
  for f in x.wdb old.wdb UPPER.WDB no-name old-no-name; do
    type="$(XDG_CURRENT_DESKTOP="$desktop" xdg-mime query filetype "$f")"
    echo "${desktop:-generic}: $f: $type"
    [ "$type" = application/x-velmora-wdb ] || fail "xdg-mime gives $type for $f"
  done
  [ "$(XDG_CURRENT_DESKTOP="$desktop" xdg-mime query filetype plain.txt)" != application/x-velmora-wdb ] ||
    fail "a text file counts as a receiver database"
done
# GIO weighs a file's content against its name; a Works file keeps its type.
[ "$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype works.wdb)" = application/vnd.ms-works ] ||
  fail "a Microsoft Works database counts as a receiver database"
default="$(xdg-mime query default application/x-velmora-wdb)"
echo "default application: $default"
[ "$default" = velmora.desktop ] || fail "xdg-mime query default gives '$default'"

step "gio open x.wdb in a virtual display"
# gio starts the program of the file's type by the desktop entry's Exec
# line, as a file manager does on a double click.
cat >open.sh <<'SH'
#!/usr/bin/env bash
set -u
gio open "$PWD/x.wdb" || exit 1
for _ in $(seq 1 100); do
  for p in $(pgrep -x velmora); do
    if [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = /usr/bin/velmora ]; then
      echo "$p" >editor.pid
      tr '\0' ' ' <"/proc/$p/cmdline" >editor.cmdline
      break 2
    fi
  done
  sleep 0.1
done
[ -s editor.pid ] || { echo "no /usr/bin/velmora process" >&2; exit 1; }
pid="$(cat editor.pid)"
# The main window, and after the file has loaded no second window (a
# refusal would come as a message box).
timeout 30 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || {
  echo "no window" >&2
  kill "$pid"
  exit 1
}
sleep 3
xdotool search --onlyvisible --pid "$pid" | sort -u >windows
kill "$pid"
SH
chmod +x open.sh
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" ./open.sh || fail "the editor did not start from gio open"
echo "started: $(cat editor.cmdline)"
grep -q "^/usr/bin/velmora $work/x.wdb\|^velmora $work/x.wdb" editor.cmdline ||
  fail "gio open started '$(cat editor.cmdline)'"
[ "$(wc -l <windows)" = 1 ] || fail "the editor showed $(wc -l <windows) windows for x.wdb"

step "apt-get remove velmora"
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq -o DPkg::Lock::Timeout=300 velmora >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log" >&2
  fail "apt-get remove"
}
installed=0
left=()
while read -r f; do
  [ -n "$f" ] && [ "${f%/}" = "$f" ] && [ -e "$f" ] && left+=("$f")
done <"$work/files"
[ -e /usr/share/velmora ] && left+=(/usr/share/velmora)
[ -e /usr/share/doc/velmora ] && left+=(/usr/share/doc/velmora)
((${#left[@]} == 0)) || fail "left behind: ${left[*]}"
[ "$(xdg-mime query filetype x.wdb)" != application/x-velmora-wdb ] || fail "the file type outlived the package"
[ -z "$(xdg-mime query default application/x-velmora-wdb)" ] || fail "the association outlived the package"
echo "package_test: all checks passed"
