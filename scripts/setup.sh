#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) and builds the project
# into build/ (plain) or build-asan/ (AddressSanitizer + UBSan) when called
# with "asan".
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake
  libboost-dev libboost-thread-dev
  libgtest-dev libbenchmark-dev libsqlite3-dev zlib1g-dev
  libmupdf-dev libmujs-dev libopenjp2-7-dev libjbig2dec0-dev libjpeg-dev
  libharfbuzz-dev libfreetype-dev libgumbo-dev libcpp-httplib-dev
  # the browser editor's tests: headless Chromium driven from Node
  nodejs npm chromium
  python3 python3-pypdf poppler-utils fonts-dejavu-core
  # PDF manuals typeset elsewhere, read by the character search tests
  libtasn1-doc shared-mime-info python-reportlab-doc
)

missing=()
for p in "${PACKAGES[@]}"; do
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
variant="${1:-plain}"
if [ "$variant" = asan ]; then
  dir=build-asan
  flags=(-DVELLUM_SANITIZE=ON -DVELLUM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
flags+=(-DVELLUM_WERROR=ON)
echo "== building ($variant) in $dir"
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
