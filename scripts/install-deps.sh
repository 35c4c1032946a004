#!/bin/sh
# Installs the Debian packages that building, running and testing need.
# The one list of what the project needs from the system lives here.
set -e
PACKAGES="
cmake make g++ pkg-config clang-format clang libclang-rt-14-dev
qt6-base-dev qt6-base-dev-tools libxcb1-dev libqt6serialport6-dev qt6-translations-l10n libgl-dev
libsndfile1-dev libpulse-dev libphonenumber-dev
xvfb xauth openbox trayer xdotool wmctrl x11-utils imagemagick fonts-dejavu-core fonts-liberation
desktop-file-utils libglib2.0-bin
socat pulseaudio pulseaudio-utils multimon-ng sox dtmf2num
libxcb-damage0-dev
"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "Fehlende Pakete:$missing (bitte als root installieren)" >&2
    exit 1
fi
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
