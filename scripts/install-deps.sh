#!/usr/bin/env bash
# Installs the Debian packages that are missing: what the build and the main job need, and with
# --tests also what the tests and checks need (readers to open saved workbooks with, the locales
# and LibreOffice Calc that some tests compare against, a PostgreSQL server the tests start and
# ODBC drivers, lintian for the Debian packages, the sqlite3 shell of the guide's walk-through,
# Doxygen for the API reference).
#   scripts/install-deps.sh [--tests]
set -euo pipefail

main_packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  libxlsxwriter-dev libzip-dev libdeflate-dev libxml2-dev libshp-dev libsqlite3-dev
  libpq-dev unixodbc-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2 fonts-crosextra-carlito
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  help2man
)
test_packages=(
  poppler-utils
  python3 python3-openpyxl python3-lxml python3-pil
  gnumeric
  locales
  libreoffice-calc-nogui libreoffice-dev python3-uno
  dpkg-dev file lintian
  sqlite3
  doxygen
  strace
  postgresql libsqliteodbc odbc-postgresql
)
# Locales the tests compare the currency settings of.
test_locales=(es_ES.UTF-8 en_US.UTF-8)

tests=false
for argument in "$@"; do
  case "$argument" in
    --tests) tests=true ;;
    *) echo "install-deps.sh: unknown argument $argument (only --tests)" >&2; exit 2 ;;
  esac
done

packages=("${main_packages[@]}")
$tests && packages+=("${test_packages[@]}")

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  # Only what is named and what it depends on: recommended packages would double the download
  # (media codecs, desktop services) and nothing here uses them.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if $tests; then
  # locale -a spells "es_ES.UTF-8" as "es_ES.utf8".
  generate=()
  for name in "${test_locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" || generate+=("$name")
  done
  if ((${#generate[@]})); then
    echo "Generating locales: ${generate[*]}"
    for name in "${generate[@]}"; do
      $SUDO sed -i "s/^# *\\(${name} UTF-8\\)/\\1/" /etc/locale.gen
      grep -q "^${name} UTF-8" /etc/locale.gen || echo "${name} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    done
    $SUDO locale-gen >/dev/null
  fi
fi
