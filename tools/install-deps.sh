#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-webengine-dev qt6-tools-dev qt6-l10n-tools
    libqt6webenginecore6-bin libqt6sql6-sqlite
    libvlc-dev libvlc-bin vlc-plugin-base vlc-plugin-video-output
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
    libjs-leaflet fonts-dejavu-core libgl1-mesa-dri
    # tests: a real X server, clip making, screenshots and clicks
    xvfb xauth ffmpeg imagemagick xdotool x11-utils
    # tests: track exports checked against the GPX schema and read back by another program
    libxml2-utils gpsbabel
    # benchmarks: watching and clicking the real program through Xlib
    libx11-dev libxtst-dev libxdamage-dev
)
# A caller may name more, e.g. tools/harden.sh its compiler.
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
