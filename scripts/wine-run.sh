#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: the emulator that
# CMake and ctest use for build-win/ (CMAKE_CROSSCOMPILING_EMULATOR).
#
# The program finds the host libraries in the build tree's lib/ folder, as a
# host's programs find them beside themselves. The Wine prefix is the build
# tree's own (build-win/wine-prefix) unless WINEPREFIX says otherwise.
set -euo pipefail

program="$1"
tree="$(cd "$(dirname "$program")/.." && pwd)"

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-$tree/wine-prefix}"
# Wine maps the Unix root onto drive Z:.
lib="Z:${tree//\//\\}\\lib"
export WINEPATH="$lib${WINEPATH:+;$WINEPATH}"
# No desktop: nothing here opens a window.
export DISPLAY=

for wine in /usr/lib/wine/wine64 wine64 wine; do
  if command -v "$wine" >/dev/null 2>&1; then
    exec "$wine" "$@"
  fi
done
echo "wine-run.sh: no Wine found (apt-get install wine64)" >&2
exit 127
