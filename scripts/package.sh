#!/usr/bin/env bash
# Builds the Debian package of Varnel, varnel_<version>_<arch>.deb, from a Release build of its
# own in build-package/ (with Debian's hardening flags), and checks it with lintian. Install it
# with: sudo apt install ./build-package/varnel_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dir="build-package"
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
# The package holds only the program and its files: building the tests and benchmarks is left
# out (cpack would otherwise build everything before it installs).
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$dir" -j"$(nproc)" --target varnel_package_contents
rm -f "$dir"/varnel_*.deb
(cd "$dir" && cpack -G DEB)
deb="$(ls "$dir"/varnel_*.deb)"
echo "== lintian"
lintian --fail-on error "$deb"
echo "== package: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb -f "$deb" Depends
