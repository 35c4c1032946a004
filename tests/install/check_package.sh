#!/bin/sh
# The built Debian package: the launcher and AppStream file as their validators see them, lintian
# without an error or a warning (it checks the layout, manual page and copyright too),
# dependencies from dpkg-shlibdeps, one version everywhere.
set -eu
build=$1
# The version CMake gave the package, unless named.
version=${2:-$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")}
deb="$build/kurbelfon_${version}_$(dpkg --print-architecture).deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*" >&2; exit 1; }

[ -f "$deb" ] || fail "no package: $deb"
dpkg-deb -x "$deb" "$root"
[ "$(readlink "$root/usr/bin/kurbelfon")" = ../lib/kurbelfon/kurbelfon ] || fail "no /usr/bin/kurbelfon"
launcher="$root/usr/share/applications/kurbelfon.desktop"
complaints=$(desktop-file-validate "$launcher" 2>&1) || fail "$complaints"
[ -z "$complaints" ] || fail "$complaints"
grep -qxF 'Exec=/usr/lib/kurbelfon/kurbelfon %u' "$launcher" || fail "$(grep Exec= "$launcher")"
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >"$root/appstream.log" 2>&1 || fail "$(cat "$root/appstream.log")"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "AppStream release is not $version"
grep -qF '<screenshot type="default">' "$metainfo" || fail "no screenshot"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
# libphonenumber, libsndfile, QtSerialPort, QtNetwork and QtSql come from the modules beside the
# program; QtSql's SQLite driver is a plugin that only the package's own list names.
case "$depends" in *libqt6widgets6\ \(\>=*libphonenumber*) ;; *libphonenumber*libqt6widgets6\ \(\>=*) ;;
    *) fail "Depends: $depends" ;; esac
for library in libsndfile libqt6serialport6 libqt6network6 "libqt6sql6 (" libqt6sql6-sqlite; do
    case "$depends" in *"$library"*) ;; *) fail "Depends: $depends" ;; esac
done
recommends=$(dpkg-deb -f "$deb" Recommends)
case "$recommends" in *pulseaudio*notification-daemon*) ;; *) fail "Recommends: $recommends" ;; esac
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$root/lintian.log" 2>&1 ||
    fail "$(cat "$root/lintian.log")"
echo "package ok"
