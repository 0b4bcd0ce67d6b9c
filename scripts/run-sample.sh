#!/usr/bin/env bash
# Sets everything up and runs the main job on the bundled sample: the host
# loads the plug-in, shows what it publishes, and highlights a phrase in the
# sample the way a user's drag would, writing an annotated copy.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh plain

echo "== vellum info"
build/bin/vellum info

input=build/samples/sample.pdf
output=build/samples/sample-highlighted.pdf
snapshot=build/samples/sample-highlighted-live.png
phrase="The quick brown fox jumps over the lazy dog"
echo
echo "== vellum markup: highlight \"$phrase\""
build/bin/vellum markup "$input" -o "$output" --kind highlight --text "$phrase" \
  --snapshot "$snapshot"
echo
echo "The annotated PDF is $PWD/$output"
echo "The page as the live selection painted it before the release: $PWD/$snapshot"
echo
echo "To mark it up yourself with a mouse: build/bin/vellum serve $input -o marked.pdf"
echo "(then open the address it prints in a browser on this machine)"
