#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) and builds the project
# into build/ (plain), build-asan/ (AddressSanitizer + UBSan) when called
# with "asan", build-fuzz/ (the libFuzzer targets only, with clang) when
# called with "fuzz", build-tsan/ (the test programs of the concurrency
# tests only, under ThreadSanitizer) when called with "tsan", or build-win/
# (Windows x86-64, cross-built with mingw-w64 and run under Wine) when
# called with "windows".
set -euo pipefail
cd "$(dirname "$0")/.."
variant="${1:-plain}"

PACKAGES=(
  build-essential cmake
  libboost-dev libboost-thread-dev
  libgtest-dev libbenchmark-dev libsqlite3-dev zlib1g-dev
  libmupdf-dev libmujs-dev libopenjp2-7-dev libjbig2dec0-dev libjpeg-dev
  libharfbuzz-dev libfreetype-dev libgumbo-dev libcpp-httplib-dev
  # the browser editor's tests: headless Chromium driven from Node
  nodejs npm chromium
  python3 python3-pypdf poppler-utils fonts-dejavu-core
  # the fuzzing build
  clang libfuzzer-14-dev
  # PDF manuals typeset elsewhere, read by the character search tests
  libtasn1-doc shared-mime-info python-reportlab-doc
)
if [ "$variant" = windows ]; then
  # The cross compiler with POSIX threads, zlib built for it, GoogleTest's
  # sources and Wine to run the result.
  PACKAGES+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  # Some builds of Node carry their own npm, which Debian's npm package
  # conflicts with: the command is what the tests need.
  if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then
    continue
  fi
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The browser tests' driver, exactly as the lockfile names it.
if [ ! -d tests/browser/node_modules/playwright-core ] ||
   [ tests/browser/package-lock.json -nt tests/browser/node_modules ]; then
  echo "== installing the browser tests' packages (npm ci)"
  npm ci --prefix tests/browser --no-audit --no-fund >/dev/null
fi

# The builds made here are the CI's: a warning fails them.
targets=(all)
if [ "$variant" = asan ]; then
  dir=build-asan
  flags=(-DVELLUM_SANITIZE=ON -DVELLUM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
elif [ "$variant" = fuzz ]; then
  dir=build-fuzz
  flags=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELLUM_FUZZ=ON
         -DVELLUM_BUILD_TESTS=OFF -DVELLUM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  targets=(fuzz)
elif [ "$variant" = tsan ]; then
  dir=build-tsan
  flags=(-DVELLUM_TSAN=ON -DVELLUM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  targets=(framework_tests uiengine_tests plugin_text_tests)
elif [ "$variant" = windows ]; then
  # Only what the Windows tests need is built there, at -O1: it is built on
  # every CI run.
  dir=build-win
  flags=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
         -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1)
  # The build runs each test program under Wine to list its tests.
  bash scripts/wine-run.sh --prepare "$dir"
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
flags+=(-DVELLUM_WERROR=ON)
echo "== building ($variant) in $dir"
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
