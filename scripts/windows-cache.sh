#!/usr/bin/env bash
# Makes the cross-built libraries Varnel's Windows build needs: Qt (from Debian's qt6-base
# source package, the same version as the host Qt, whose tools it uses), SQLite, libzip,
# pugixml, libxlsxwriter, and PostgreSQL's client library with OpenSSL (for the office archive),
# all from Debian source packages, built with Debian's MinGW-w64
# compilers into a cache folder outside the work tree. The folder's name holds a key made of
# the source versions, the compiler version and the Qt patches, so a change of any of them
# builds a new one; a finished folder is reused. Prints the folder (alone) on stdout.
# Needs root (packages, the temporary deb-src entry). VARNEL_WINDOWS_CACHE overrides the root.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cache_root="${VARNEL_WINDOWS_CACHE:-/var/cache/varnel-windows}"
patches="$here/packaging/windows/qt-patches"
# Raise when the way the libraries are built changes (options, steps).
recipe=3
export DEBIAN_FRONTEND=noninteractive

install_tools() {
  local want="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev wine wine64 nsis cmake ninja-build pkg-config tcl dpkg-dev"
  local missing=""
  for p in $want; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends $missing >/dev/null
  fi
}

# apt-get update does not wait for another apt's lock on the package lists: try again a while.
apt_update() {
  local try
  for try in $(seq 60); do
    apt-get -o DPkg::Lock::Timeout=900 update -qq >/dev/null && return
    sleep 10
  done
  return 1
}

# The candidate version of a binary package built from the wanted source package.
candidate() { apt-cache policy "$1" | sed -n 's/^ *Candidate: //p'; }

cache_key() {
  {
    echo "recipe $recipe"
    for p in qt6-base-dev libsqlite3-dev libzip-dev libpugixml-dev libxlsxwriter-dev libpq-dev libssl-dev \
      g++-mingw-w64-x86-64-posix libz-mingw-w64-dev; do
      echo "$p $(candidate "$p")"
    done
    cat "$patches"/*.patch 2>/dev/null || true
  } | sha256sum | cut -c1-16
}

# Downloads and unpacks the source packages into $1 through a deb-src entry that mirrors the
# system's debian.sources (same URIs, suites and keyring), removed again afterwards.
fetch_sources() {
  local dir="$1" list=/etc/apt/sources.list.d/varnel-deb-src.sources
  mkdir -p "$dir"
  chown _apt "$dir" 2>/dev/null || true
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
  trap 'rm -f '"$list"'; apt_update 2>/dev/null || true' EXIT
  apt_update
  local p
  for p in qt6-base sqlite3 libzip pugixml libxlsxwriter openssl postgresql-15; do
    fetch_source "$dir" "$p"
  done
  rm -f "$list"
  apt_update
  trap - EXIT
}

# One source package: the candidate version, or else the newest listed version whose files the
# mirror has (a security update's sources may be listed before the mirror carries them).
fetch_source() {
  local dir="$1" pkg="$2" v
  (cd "$dir" && apt-get source -qq "$pkg" >/dev/null 2>&1) && return
  for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV); do
    rm -rf "${dir:?}/$pkg"[-_]*
    (cd "$dir" && apt-get source -qq "$pkg=$v" >/dev/null 2>&1) && return
  done
  echo "windows-cache: the sources of $pkg could not be fetched" >&2
  return 1
}

srcdir_of() { find "$1" -maxdepth 1 -mindepth 1 -type d -name "$2-*" | head -n1; }

toolchain() { echo "-DCMAKE_TOOLCHAIN_FILE=$here/cmake/mingw-w64.cmake -DVARNEL_WINDOWS_PREFIX=$1"; }

build_sqlite() {
  local src="$1" prefix="$2" b="$1/varnel-build"
  mkdir -p "$b"
  # The amalgamation (one sqlite3.c) is made by SQLite's own Tcl script on the host.
  (cd "$b" && ../configure --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
  x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_THREADSAFE=1 \
    -c "$b/sqlite3.c" -o "$b/sqlite3.o" -I"$b"
  mkdir -p "$prefix/lib" "$prefix/include"
  x86_64-w64-mingw32-gcc-ar-posix rcs "$prefix/lib/libsqlite3.a" "$b/sqlite3.o"
  cp "$b/sqlite3.h" "$b/sqlite3ext.h" "$prefix/include/"
}

build_cmake_lib() {
  local src="$1" prefix="$2"
  shift 2
  cmake -S "$src" -B "$src/varnel-build" -G Ninja $(toolchain "$prefix") \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$src/varnel-build" >/dev/null
  cmake --install "$src/varnel-build" >/dev/null
}

# OpenSSL's two libraries (libcrypto-3-x64.dll, libssl-3-x64.dll), for TLS to the office's
# server.
build_openssl() {
  local src="$1" prefix="$2"
  (cd "$src" && ./Configure mingw64 --cross-compile-prefix=x86_64-w64-mingw32- CC=gcc-posix \
    --prefix="$prefix" --libdir=lib no-tests shared no-engine no-legacy >/dev/null &&
    make -s -j"$(nproc)" build_libs >/dev/null 2>&1 &&
    make -s install_dev install_runtime_libs >/dev/null 2>&1)
}

# PostgreSQL's client library alone (libpq.dll, which needs OpenSSL and Windows' own DLLs), for
# Qt's PostgreSQL driver; its headers go to $prefix/libpq/include.
build_libpq() {
  local src="$1" prefix="$2"
  (cd "$src" && CC=x86_64-w64-mingw32-gcc-posix CPPFLAGS="-I$prefix/include" \
    LDFLAGS="-L$prefix/lib" ./configure --host=x86_64-w64-mingw32 --prefix="$prefix/libpq" \
    --without-readline --without-zlib --without-icu --with-ssl=openssl >/dev/null)
  make -s -C "$src/src/include" >/dev/null
  for d in src/common src/port src/interfaces/libpq; do
    make -s -C "$src/$d" -j"$(nproc)" >/dev/null
  done
  make -s -C "$src/src/interfaces/libpq" install >/dev/null
  make -s -C "$src/src/include" install >/dev/null
  cp "$prefix/libpq/bin/libpq.dll" "$prefix/bin/"
}

build_qt() {
  local src="$1" prefix="$2"
  for p in "$patches"/*.patch; do
    [ -e "$p" ] && patch -d "$src" -p1 -s <"$p"
  done
  cmake -S "$src" -B "$src/varnel-build" -G Ninja $(toolchain "$prefix") \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_network=OFF -DFEATURE_icu=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=ON \
    -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF \
    -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
    -DSQLite3_INCLUDE_DIR="$prefix/include" -DSQLite3_LIBRARY="$prefix/lib/libsqlite3.a" \
    -DPostgreSQL_INCLUDE_DIR="$prefix/libpq/include" -DPostgreSQL_LIBRARY="$prefix/libpq/lib/libpq.a" \
    -DFEATURE_system_zlib=ON -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF \
    -DFEATURE_tabletevent=OFF >"$src/varnel-configure.log"
  cmake --build "$src/varnel-build" -j"$(nproc)"
  cmake --install "$src/varnel-build" >/dev/null
}

# Without an argument: makes the cache unless it is there, prints its folder. --fetch: only
# installs the tools and fetches the sources (the steps that use apt), so that the long build
# can then run beside other apt users. --key: prints the cache key.
main() {
  local mode="${1:-build}"
  # Progress goes to stderr; stdout gets the folder alone.
  exec 3>&1 1>&2
  install_tools
  local key prefix work
  mkdir -p "$cache_root"
  # One build at a time: a second run waits and then finds the folder finished.
  exec 9>"$cache_root/.lock"
  flock 9
  key="$(cache_key)"
  prefix="$cache_root/$key"
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix" >&3
    return
  fi
  work="$cache_root/work-$key"
  # Sources are fetched once and used by one build only (the build patches them).
  if [ ! -f "$work/.fetched" ] || [ -f "$work/.used" ]; then
    rm -rf "$work"
    fetch_sources "$work"
    touch "$work/.fetched"
  fi
  [ "$mode" = fetch ] && return
  touch "$work/.used"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  local t0=$SECONDS
  build_sqlite "$(srcdir_of "$work" sqlite3)" "$prefix"
  build_cmake_lib "$(srcdir_of "$work" libzip)" "$prefix" -DBUILD_SHARED_LIBS=ON \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
  build_cmake_lib "$(srcdir_of "$work" pugixml)" "$prefix" -DBUILD_SHARED_LIBS=ON \
    -DPUGIXML_BUILD_TESTS=OFF
  build_cmake_lib "$(srcdir_of "$work" libxlsxwriter)" "$prefix" -DBUILD_SHARED_LIBS=ON \
    -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF
  mkdir -p "$prefix/bin"
  build_openssl "$(srcdir_of "$work" openssl)" "$prefix"
  build_libpq "$(srcdir_of "$work" postgresql-15)" "$prefix"
  build_qt "$(srcdir_of "$work" qt6-base)" "$prefix"
  echo "built in $((SECONDS - t0)) s" >"$prefix/.complete"
  rm -rf "$work"
  echo "$prefix" >&3
}

case "${1:-}" in
--key) cache_key ;;
--fetch) main fetch ;;
*) main ;;
esac
