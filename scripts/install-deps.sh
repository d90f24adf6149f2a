#!/usr/bin/env bash
# Installs the Debian 12 packages that Varnel needs to build, run, test and package, and the
# locales the date tests run under. One package set serves scripts/run.sh and the tests alike, so
# that neither undoes what the other installed: LibreOffice Calc and Writer as a clerk's desktop
# needs them, with their Chinese interface (the export opens the workbook in Calc, the
# distribution plan document opens in Writer), which also hold the headless converter the tests
# read workbooks and documents with. (Calc's headless-only variant conflicts with it.)
# python3-docx reads the filled documents back in the tests.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
packages="g++ cmake make qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins qt6-translations-l10n libgl-dev libegl-dev
  pkg-config libxlsxwriter-dev libzip-dev libpugixml-dev fonts-arphic-uming fonts-noto-cjk xvfb xauth
  xdg-utils locales python3-openpyxl python3-docx poppler-utils sqlite3
  libcups2-dev libpq-dev cups libreoffice-calc libreoffice-writer libreoffice-l10n-zh-cn desktop-file-utils
  libqt6sql6-psql postgresql postgresql-client
  dpkg-dev file fakeroot lintian librsvg2-bin"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  # apt-get update does not wait for another apt's lock on the package lists: try again a while.
  for try in $(seq 60); do
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq && break
    [ "$try" -lt 60 ] || exit 1
    sleep 10
  done
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends $missing >/dev/null
fi
# en_US has a short date with a two-digit year; zh_CN is the locale the program is written for.
wanted="en_US.UTF-8 zh_CN.UTF-8"
missing=""
for l in $wanted; do
  if ! locale -a 2>/dev/null | grep -qi "^${l%%.*}\.utf-\?8$"; then missing="$missing $l"; fi
done
if [ -n "$missing" ]; then
  for l in $missing; do
    $SUDO sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
