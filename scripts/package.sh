#!/usr/bin/env bash
# Builds the Debian package from a release build and checks it with lintian: scripts/package.sh
# Installs what is missing (as root or with sudo), then writes quillet_<version>_<arch>.deb
# into the repository folder. Install it with: sudo apt install ./quillet_<version>_<arch>.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
if ! dpkg-query -W -f='${Status}' lintian 2>/dev/null | grep -q "install ok installed"; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: lintian"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends lintian
fi
package="$("$here/scripts/build-deb.sh" "$here/build-release")"
mv -f "$package" "$here/"
echo "$here/$(basename "$package")"
