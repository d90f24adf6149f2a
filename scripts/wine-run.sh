#!/usr/bin/env bash
# Runs a program of the Windows build under Wine: CMake's CROSSCOMPILING_EMULATOR for the
# build-time tools and for every test. Wine gives a program only the variables it knows, so the
# Qt variables a test sets (QT_QPA_PLATFORM and the like) are handed on as WINEQT_..., which
# Wine passes to the program as QT_...; QtTest's output goes to stderr instead of the debugger
# channel. The cross-built DLLs are found through WINEPATH. The tests' independent readers
# (poppler, Python, the sqlite3 shell) are Linux programs, which Wine cannot start: a runner on
# the host starts them (see below).
# VARNEL_WINDOWS_PREFIX: the cache folder of the cross-built libraries; WINEPREFIX: the Wine
# folder to use (test-windows.sh makes one in the build folder).
set -euo pipefail
prefix="${VARNEL_WINDOWS_PREFIX:?the folder of the cross-built libraries}"
gcc_dll="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
wine_dir() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(wine_dir "$prefix/bin");$(wine_dir "$gcc_dll");$(wine_dir /usr/x86_64-w64-mingw32/lib)"
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
# Wine cannot start the host's Linux programs: a runner on the host side starts them for the
# tests (tests/common/host_path.h), through a folder of its own.
runner="$(mktemp -d /tmp/varnel-host-runner.XXXXXX)"
python3 "$(dirname "$0")/wine-host-runner.py" "$runner" &
runner_pid=$!
export VARNEL_HOST_RUNNER="$(wine_dir "$runner")"
# The program writes into files that are copied to the caller as they grow, not straight into
# the caller's pipes: Wine's desktop process, started by the first program that needs it,
# inherits that program's output and lives while any program of the run needs it; holding
# CTest's pipe open, it would keep a finished test waiting until its timeout.
out="$(mktemp /tmp/varnel-wine-out.XXXXXX)"
err="$(mktemp /tmp/varnel-wine-err.XXXXXX)"
status=0
wine "$@" >"$out" 2>"$err" &
program=$!
tail -s 0.1 -n +1 -f --pid="$program" "$out" &
copy_out=$!
tail -s 0.1 -n +1 -f --pid="$program" "$err" >&2 &
copy_err=$!
wait "$program" || status=$?
wait "$copy_out" "$copy_err" || true
rm -f "$out" "$err"
rm -rf "$runner"
kill "$runner_pid" 2>/dev/null || true
exit $status
