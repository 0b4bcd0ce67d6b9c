#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: the emulator that
# CMake and ctest use for build-win/ (CMAKE_CROSSCOMPILING_EMULATOR).
#
#   wine-run.sh PROGRAM.exe [ARGS...]   runs the program
#   wine-run.sh --prepare BUILD-DIR     makes the build tree's Wine prefix
#
# A program finds the host libraries in its build tree's lib/ folder, as a
# host's programs find them beside themselves. The Wine prefix is the build
# tree's own (BUILD-DIR/wine-prefix) unless WINEPREFIX says otherwise.
set -euo pipefail

export WINEDEBUG="${WINEDEBUG:--all}"
# Headless: no desktop, and no offer to install .NET or a browser engine.
export DISPLAY=
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"

wine=
for candidate in /usr/lib/wine/wine64 wine64; do
  if command -v "$candidate" >/dev/null 2>&1; then
    wine="$candidate"
    break
  fi
done
if [ -z "$wine" ]; then
  echo "wine-run.sh: no 64-bit Wine found (apt-get install wine64)" >&2
  exit 127
fi

if [ "${1:-}" = --prepare ]; then
  mkdir -p "$2"
  export WINEPREFIX="${WINEPREFIX:-$(cd "$2" && pwd)/wine-prefix}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making the Wine prefix $WINEPREFIX"
    "$wine" wineboot --init
    wineserver --wait
  fi
  exit 0
fi

program="$1"
tree="$(cd "$(dirname "$program")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$tree/wine-prefix}"
# Wine maps the Unix root onto drive Z:.
lib="Z:${tree//\//\\}\\lib"
export WINEPATH="$lib${WINEPATH:+;$WINEPATH}"
exec "$wine" "$@"
