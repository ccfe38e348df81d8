#!/usr/bin/env bash
# Builds the Debian package (build/velmora_<version>_<arch>.deb) and checks it
# as Debian would: lintian on the package, and the desktop entry and AppStream
# metadata it installs. Install it with: sudo apt-get install ./build/velmora_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh" lintian appstream desktop-file-utils dpkg-dev
"$root/tools/build.sh"
cd "$root/build"
cpack -G DEB
deb=$(ls -t velmora_*.deb | head -n 1)
# Errors fail the check; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
dpkg-deb -x "$deb" "$staging"
desktop-file-validate "$staging"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$staging"/usr/share/metainfo/*.metainfo.xml
echo "package.sh: $deb built and checked"
