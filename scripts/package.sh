#!/usr/bin/env bash
# Builds the Debian package from a release build: scripts/package.sh
# Installs what is missing (as root or with sudo), then writes quillet_<version>_<arch>.deb
# into the repository folder. Install it with: sudo apt install ./quillet_<version>_<arch>.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-release"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF -DQUILLET_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target quillet
rm -f "$build"/quillet_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package="$(ls "$build"/quillet_*.deb)"
mv -f "$package" "$here/"
echo "$here/$(basename "$package")"
