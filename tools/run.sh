#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player in its run folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" -DBUILD_TESTING=OFF
# Chromium will not start its sandbox as root; an ordinary user keeps it.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
cd "$root/build"
exec ./velmora "$@"
