#!/usr/bin/env bash
# Installs what is needed, builds Varnel and starts it from the build folder (its application
# directory). Without a display it runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
# The same package set as the tests', the spreadsheet program with its Chinese interface among
# them: a second run installs and removes nothing.
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target varnel
cd build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a ./varnel
fi
exec ./varnel
