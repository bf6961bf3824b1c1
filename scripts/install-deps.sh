#!/usr/bin/env bash
# Installs what building, running and testing Quillet needs on Debian 12 (run as root or with sudo),
# and the packages named as arguments (other scripts' extra tools).
set -euo pipefail
PACKAGES=(
  build-essential cmake
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqscintilla2-qt6-dev libqscintilla2-qt6-l10n
  qt6-translations-l10n libqt6svg6
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core xvfb xauth
  desktop-file-utils appstream
  dpkg-dev file
  dosfstools fusefat bindfs
  "$@"
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
