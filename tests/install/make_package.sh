#!/bin/sh
# Fixture of the package tests: builds the package, and as root makes sure the unprivileged user
# exists that the end-to-end test starts the installed program as.
set -eu
cd "$1"
cpack -G DEB >/dev/null
if [ "$(id -u)" = 0 ]; then
    id -u kurbelfon-ci >/dev/null 2>&1 || useradd -m kurbelfon-ci
fi
