# Shared by scripts/build-windows.sh and scripts/test-windows.sh (sourced from the top of the
# work tree): installs what the Windows build needs, makes or finds the cache of cross-built
# libraries, and configures the cross build in build-windows/ with Wine as the program runner.

bash scripts/install-deps.sh
# A folder of cross-built libraries given in VARNEL_WINDOWS_PREFIX is used as it is.
if [ -z "${VARNEL_WINDOWS_PREFIX:-}" ]; then
  VARNEL_WINDOWS_PREFIX="$(bash scripts/windows-cache.sh | tail -n1)"
fi
VARNEL_WINDOWS_BUILD="build-windows"
VARNEL_MINGW_GCC_DIR="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
# The tests' own Wine folder, apart from any of the user's.
WINEPREFIX="$(pwd)/$VARNEL_WINDOWS_BUILD/wine"
export VARNEL_WINDOWS_PREFIX VARNEL_WINDOWS_BUILD VARNEL_MINGW_GCC_DIR WINEPREFIX

# Starts a Wine server that stays for the whole run, and lets Wine set up its folder once before
# any program runs (a first program started into a fresh folder can hang otherwise).
wine_start() {
  mkdir -p "$WINEPREFIX"
  wineserver -p 2>/dev/null || true # already running: fine
  scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
}

windows_configure() {
  wine_start
  trap wine_stop EXIT
  cmake -S . -B "$VARNEL_WINDOWS_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/mingw-w64.cmake" \
    -DVARNEL_WINDOWS_PREFIX="$VARNEL_WINDOWS_PREFIX" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=env;VARNEL_WINDOWS_PREFIX=$VARNEL_WINDOWS_PREFIX;WINEPREFIX=$WINEPREFIX;$(pwd)/scripts/wine-run.sh" \
    "$@" >/dev/null
}
