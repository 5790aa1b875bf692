#!/usr/bin/env bash
# Installs what is missing, builds and starts Zelvi T.E.G.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dipendenze.sh
bash scripts/compila.sh build
if [ -x build/app/zelvi-teg ]; then
  exec build/app/zelvi-teg
fi
echo "Compilazione terminata."
