#!/usr/bin/env bash
# Sets everything up and runs the main job on the bundled sample: the host
# loads the plug-in and shows what it publishes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh plain
echo "== vellum info"
build/bin/vellum info
