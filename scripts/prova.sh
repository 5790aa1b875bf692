#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in a normal build,
# once with AddressSanitizer and UndefinedBehaviorSanitizer; then, as root,
# builds, installs and removes the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dipendenze.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

bash scripts/compila.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs"

bash scripts/compila.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DZELVI_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/prova-pacchetto.sh
