#!/usr/bin/env bash
# Installs the Debian 12 packages that Varnel needs to build, run and test.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ cmake make qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins libgl-dev libegl-dev \
  libxlsxwriter-dev libzip-dev libpugixml-dev fonts-noto-cjk xvfb xauth \
  python3-openpyxl poppler-utils sqlite3 >/dev/null
