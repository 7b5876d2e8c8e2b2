#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the checks need, when they are missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  libxlsxwriter-dev libzip-dev libxml2-dev libshp-dev libsqlite3-dev poppler-utils
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2 fonts-crosextra-carlito
  python3 python3-openpyxl python3-lxml
  gnumeric
  libreoffice-calc-nogui libreoffice-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
