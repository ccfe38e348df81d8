#!/usr/bin/env bash
# Installs what is needed, builds with the tests, and runs the whole suite
# under a virtual X server.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" -DBUILD_TESTING=ON -DVELMORA_STRESS=ON -DVELMORA_BENCH=ON
cd "$root/build"
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 300 "$@"
