#!/bin/sh
# cmake --install into a prefix with a blank: the program folder, the link in bin/, the launcher
# (accepted by desktop-file-validate, Exec quoted for the blank) and the icons; DESTDIR stages
# the same layout, its Exec unquoted.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*" >&2; exit 1; }

prefix="$root/Meine Programme"
cmake --install "$build" --prefix "$prefix" >/dev/null
dir="$prefix/lib/kurbelfon"
for file in kurbelfon hilfe.htm banner-kurbelfon.png banner-partner.png; do
    [ -f "$dir/$file" ] || fail "missing: $dir/$file"
done
[ -x "$dir/kurbelfon" ] || fail "not executable: $dir/kurbelfon"
[ "$(readlink -f "$prefix/bin/kurbelfon")" = "$(readlink -f "$dir/kurbelfon")" ] ||
    fail "bin/kurbelfon does not lead to the program"
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/kurbelfon.png" ] || fail "no ${size}px icon"
done
launcher="$prefix/share/applications/kurbelfon.desktop"
complaints=$(desktop-file-validate "$launcher" 2>&1) || fail "$complaints"
[ -z "$complaints" ] || fail "$complaints"
grep -qxF "Exec=\"$dir/kurbelfon\" %u" "$launcher" || fail "Exec: $(grep Exec= "$launcher")"

stage="$root/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /opt/kf >/dev/null
grep -qxF 'Exec=/opt/kf/lib/kurbelfon/kurbelfon %u' "$stage/opt/kf/share/applications/kurbelfon.desktop" ||
    fail "staged Exec: $(grep Exec= "$stage/opt/kf/share/applications/kurbelfon.desktop")"
[ -L "$stage/opt/kf/bin/kurbelfon" ] || fail "no staged link"
[ -f "$stage/opt/kf/lib/kurbelfon/kurbelfon" ] || fail "no staged program"
echo "install layout ok"
