#!/usr/bin/env bash
# Installs what is needed, builds Varnel and starts it from the build folder (its application
# directory). Without a display it runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# A spreadsheet program for the export ("输出到电子表格" opens the workbook in it), where the
# desktop has none yet.
if ! xdg-mime query default \
    application/vnd.openxmlformats-officedocument.spreadsheetml.sheet 2>/dev/null | grep -q .; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    libreoffice-calc desktop-file-utils >/dev/null
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target varnel
cd build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a ./varnel
fi
exec ./varnel
