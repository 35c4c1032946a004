#!/bin/sh
# Installs the Debian packages that building, running and testing need.
# The one list of what the project needs from the system lives here.
set -e
PACKAGES="
cmake make g++ pkg-config clang-format clang libclang-rt-14-dev
qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libxcb1-dev libqt6serialport6-dev qt6-translations-l10n libgl-dev
libsndfile1-dev libpulse-dev libphonenumber-dev
xvfb xauth openbox trayer xdotool wmctrl x11-utils imagemagick fonts-dejavu-core fonts-liberation
desktop-file-utils libglib2.0-bin
socat pulseaudio pulseaudio-utils multimon-ng sox dtmf2num
dunst notify-osd dbus-daemon dbus-bin libqt6dbus6
lintian appstream dpkg-dev file
qtkeychain-qt6-dev openssl gnome-keyring dbus dbus-x11
xdg-utils
radicale
x11-xkb-utils x11-xserver-utils
weston xwayland qt6-wayland
libxcb-damage0-dev
"
# A name in the list may be one that another package provides (libqt6serialport6-dev comes as
# qt6-serialport-dev), so the check knows every installed package and every name it provides.
installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Provides}\n' 2>/dev/null |
    awk '$1 == "ii" { for (i = 2; i <= NF; i++) if ($i !~ /^[(=<>]/ && $i !~ /\)$/) print $i }' |
    tr -d ',' | sort -u)
missing=""
for p in $PACKAGES; do
    printf '%s\n' "$installed" | grep -qx -- "$p" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "Fehlende Pakete:$missing (bitte als root installieren)" >&2
    exit 1
fi
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
