#!/usr/bin/env bash
# Checks that every include points down the floors of the source folders (scripts/layers.sh),
# installs what is needed, builds everything and runs all tests: once in an ordinary build and
# once built with AddressSanitizer and UndefinedBehaviorSanitizer. The ordinary build's tests
# include `package`, which makes the Debian package from that build and checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/layers.sh
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"
for variant in plain sanitize; do
  dir="build"
  flags=(-DVARNEL_WERROR=ON)
  if [ "$variant" = sanitize ]; then dir="build-sanitize"; flags+=(-DVARNEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug); fi
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== tests ($variant build)"
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$jobs")
done
