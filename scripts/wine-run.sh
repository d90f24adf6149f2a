#!/usr/bin/env bash
# Runs a program of the Windows build under Wine: CMake's CROSSCOMPILING_EMULATOR for the
# build-time tools and for every test. Wine gives a program only the variables it knows, so the
# Qt variables a test sets (QT_QPA_PLATFORM and the like) are handed on as WINEQT_..., which
# Wine passes to the program as QT_...; QtTest's output goes to stderr instead of the debugger
# channel. The cross-built DLLs are found through WINEPATH, and so are the host's own programs
# in /usr/bin that the tests use as independent readers (poppler, Python, the sqlite3 shell).
# VARNEL_WINDOWS_PREFIX: the cache folder of the cross-built libraries; WINEPREFIX: the Wine
# folder to use (test-windows.sh makes one in the build folder).
set -euo pipefail
prefix="${VARNEL_WINDOWS_PREFIX:?the folder of the cross-built libraries}"
gcc_dll="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
wine_dir() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(wine_dir "$prefix/bin");$(wine_dir "$gcc_dll");$(wine_dir /usr/x86_64-w64-mingw32/lib);Z:\\usr\\bin"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEQT_FORCE_STDERR_LOGGING=1
# The offscreen platform reads its fonts from one folder: the Song face the windows are laid out
# for.
export WINEQT_QPA_FONTDIR="${WINEQT_QPA_FONTDIR:-$(wine_dir /usr/share/fonts/truetype/arphic)}"
while IFS='=' read -r name value; do
  case "$name" in
  QT_*) export "WINE$name=$value" ;;
  esac
done < <(env | grep '^QT_' || true)
exec wine "$@"
