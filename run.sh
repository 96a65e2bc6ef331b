#!/usr/bin/env bash
# Installs what is missing, builds Zarvo in Release with all cores and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh tools/packages.txt
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --parallel "$(nproc)" --target Zarvo ZarvoTray
exec build/release/bin/Zarvo "$@"
