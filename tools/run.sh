#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player in its run folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" -DBUILD_TESTING=OFF
# A first run gets a set of sample recordings to import; an existing set stays.
if [ ! -e "$root/build/samples" ]; then
    "$root/tools/samples/make-samples.sh" "$root/build/samples" \
        || echo "run.sh: could not make the sample recordings; starting without them" >&2
fi
# Chromium will not start its sandbox as root; an ordinary user keeps it.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
# The sample recordings open at start, ahead of the files named here.
shopt -s nullglob
exec "$root/build/velmora" "$root"/build/samples/DCIM/100MEDIA/*.MOV "$@"
