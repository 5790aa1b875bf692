#!/usr/bin/env bash
# Builds the Debian package zelvi-teg_<versione>_<arch>.deb into build/ (or the
# folder given as first argument), from the same build the other scripts use.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dipendenze.sh
dir=${1:-build}
bash scripts/compila.sh "$dir"
cd "$dir"
rm -f zelvi-teg_*.deb
cpack -G DEB >/dev/null
ls "$PWD"/zelvi-teg_*.deb
