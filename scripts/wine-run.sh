#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: the emulator that
# CMake and ctest use for build-win/ (CMAKE_CROSSCOMPILING_EMULATOR).
#
#   wine-run.sh PROGRAM.exe [ARGS...]   runs the program
#   wine-run.sh --prepare BUILD-DIR     makes the build tree's Wine prefix and
#                                       starts Wine for the programs to come
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
  # Wine's server and its own background processes start with the first
  # program and stay while programs come: start them here, with nothing of
  # the caller's, since they would keep open the output of whichever program
  # started them, and ctest waits for a test's output to close. The server
  # goes by itself a minute after the last program. A server still there
  # from an earlier step (a fast build's, say) is ended first: a second
  # one cannot start beside it.
  wineserver --kill >/dev/null 2>&1 || true
  wineserver --wait >/dev/null 2>&1 || true
  wineserver --persistent=60
  "$wine" wineboot </dev/null >/dev/null 2>&1
  exit 0
fi

program="$1"
tree="$(cd "$(dirname "$program")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$tree/wine-prefix}"
# Wine maps the Unix root onto drive Z:.
lib="Z:${tree//\//\\}\\lib"
export WINEPATH="$lib${WINEPATH:+;$WINEPATH}"
exec "$wine" "$@"
