#!/usr/bin/env bash
# Cross-builds Varnel and every test program for Windows and runs the tests under Wine with the
# offscreen platform, through CTest (CMake runs each test program with scripts/wine-run.sh), in
# the locales the tests name (zh_CN, and en_US for the date tests). The cross-built Qt and
# libraries come from the cache of scripts/windows-cache.sh. Run as root (it installs packages).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh
windows_configure -DVARNEL_WERROR=ON
cmake --build "$VARNEL_WINDOWS_BUILD" -j"$(nproc)"
echo "== tests (Windows build under Wine)"
(cd "$VARNEL_WINDOWS_BUILD" && ctest --output-on-failure --no-tests=error -j"$(nproc)")
