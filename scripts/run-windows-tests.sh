#!/usr/bin/env bash
# Cross-builds the plug-in as a Windows x86-64 DLL, with the host libraries
# and services it talks to and their tests (build-win/), and runs the tests
# under Wine. Any failure under Wine fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
bash scripts/setup.sh windows
built=$SECONDS

echo "== tests (Windows x86-64 under Wine)"
export WINEPREFIX="$PWD/build-win/wine-prefix"
# One Wine server for the whole run: every test is a process of its own.
bash scripts/wine-run.sh --prepare build-win
trap 'wineserver --kill >/dev/null 2>&1 || true' EXIT
ctest --test-dir build-win --output-on-failure -j2 --timeout 300
echo "== Windows: built in $((built - start)) s, tested in $((SECONDS - built)) s"
