#!/usr/bin/env bash
# Configures and builds into build/, which is also the program's run folder.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON "$@"
cmake --build build -j"$(nproc)"
