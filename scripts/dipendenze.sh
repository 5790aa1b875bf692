#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test.
set -euo pipefail
PACCHETTI=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl1-mesa-dev
  libsqlite3-dev sqlite3 libbenchmark-dev libarchive-dev
  fonts-dejavu-core fonts-liberation
  xvfb xauth poppler-utils xdg-utils
  qt6-svg-dev dpkg-dev file desktop-file-utils
  libxlsxwriter-dev python3-openpyxl qt6-charts-dev libofx-dev)

mancanti=()
for p in "${PACCHETTI[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    mancanti+=("$p")
  fi
done
[ ${#mancanti[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Mancano alcuni pacchetti. Installarli con:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${mancanti[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y "${mancanti[@]}"
