#!/usr/bin/env bash
# Installs what is needed, builds Varnel and starts it from the build folder (its application
# directory). Without a display it runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# A spreadsheet program for the export ("输出到电子表格" opens the workbook in it), with its
# Chinese interface, where the desktop has none yet.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
# A package manager busy elsewhere (an update running at start-up) is waited for.
apt_install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "$@" >/dev/null
}
if ! xdg-mime query default \
    application/vnd.openxmlformats-officedocument.spreadsheetml.sheet 2>/dev/null | grep -q .; then
  apt_install libreoffice-calc libreoffice-l10n-zh-cn desktop-file-utils
elif dpkg -s libreoffice-core >/dev/null 2>&1 && ! dpkg -s libreoffice-l10n-zh-cn >/dev/null 2>&1; then
  apt_install libreoffice-l10n-zh-cn
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target varnel
cd build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a ./varnel
fi
exec ./varnel
