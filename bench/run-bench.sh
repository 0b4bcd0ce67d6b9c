#!/usr/bin/env bash
# Runs the benchmarks of an existing build (it builds nothing) and prints
# each measurement beside its peer's (MuPDF for the markup tool, plain
# SQLite for the user options):
#   <name>: ours X us, MuPDF Y us, ratio Z (CPU C)
# where ratio = ours / peer (wall time per iteration, the median of three
# repetitions) and C the same ratio of CPU times, which other work on a
# shared machine disturbs less.
#
#   bench/run-bench.sh [build-dir] [benchmark options...]
#
# build-dir defaults to build/ of the repository. Options go to both
# binaries after the defaults, so they win; for instance
# --benchmark_filter=Release or --benchmark_repetitions=1. The tables of the
# runs go to stderr, the summary to stdout.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
if [[ $# -gt 0 ]]; then
  shift
fi
binaries=(vellum_text_bench vellum_tool_bench vellum_options_bench vellum_batch_bench
          vellum_editor_bench)
for binary in "${binaries[@]}"; do
  if [[ ! -x "$build/bin/$binary" ]]; then
    echo "no $binary in $build/bin; build the target 'bench' first" >&2
    exit 1
  fi
done

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

for binary in "${binaries[@]}"; do
  "$build/bin/$binary" \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$binary.json" --benchmark_out_format=json \
    "$@" >&2
done

reports=()
for binary in "${binaries[@]}"; do
  reports+=("$out/$binary.json")
done
/usr/bin/python3 - "${reports[@]}" <<'EOF'
import json
import sys

SCALE = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}

# name -> microseconds: the median of the repetitions, or the single run.
times = {}
cpu = {}
per_match = {}
order = []
for path in sys.argv[1:]:
    try:
        with open(path) as f:
            runs = json.load(f)["benchmarks"]
    except (OSError, ValueError, KeyError):
        continue  # a filter that matched nothing in this binary
    for run in runs:
        if run.get("error_occurred"):
            name = run.get("run_name", run["name"])
            print(f"{name}: failed: {run.get('error_message', '')}")
            continue
        if run.get("run_type") == "aggregate":
            if run.get("aggregate_name") != "median":
                continue
            name = run["run_name"]
        else:
            name = run.get("run_name", run["name"])
            if name in times:
                continue
        name = name.split("/iterations:")[0].replace("/manual_time", "")
        if name not in times:
            order.append(name)
        times[name] = run["real_time"] * SCALE[run.get("time_unit", "ns")]
        cpu[name] = run["cpu_time"] * SCALE[run.get("time_unit", "ns")]
        if "us_per_match" in run:
            per_match[name] = (run["us_per_match"], run.get("peak_MB", 0))

PEERS = {"mupdf": "MuPDF", "sqlite": "SQLite", "refused": "a refused request"}

def line(label, ours, peer, peer_name="MuPDF", cpu_ratio=None):
    ratio = f"{ours / peer:.3g}" if peer > 0 else "n/a"
    digits = 1 if min(ours, peer) >= 1 else 3
    extra = f" (CPU {cpu_ratio:.3g})" if cpu_ratio is not None else ""
    print(f"{label}: ours {ours:.{digits}f} us, {peer_name} {peer:.{digits}f} us, ratio {ratio}{extra}")

for name in order:
    if not name.endswith("/ours"):
        continue
    base = name[: -len("/ours")]
    for suffix, peer_name in PEERS.items():
        peer = f"{base}/{suffix}"
        if peer in times:
            cpu_ratio = cpu[name] / cpu[peer] if cpu[peer] > 0 else None
            line(base, times[name], times[peer], peer_name, cpu_ratio)

# The painting of the selection alone: a move with its repaint, less the
# move and less the repaint of the page without a selection. A difference
# of runs of about 2 ms each: MuPDF's share (~0.1 ms) is within their noise.
for name in order:
    if not (name.startswith("MoveRepaint/") and name.endswith("/gap/ours")):
        continue
    page = name.split("/")[1]
    parts = {}
    for side in ("ours", "mupdf"):
        keys = (f"MoveRepaint/{page}/gap/{side}", f"Move/{page}/gap/{side}",
                f"Repaint/{page}/plain/{side}")
        if all(k in times for k in keys):
            parts[side] = times[keys[0]] - times[keys[1]] - times[keys[2]]
    if len(parts) == 2:
        line(f"SelectionPaint/{page} (derived, noisy)", parts["ours"], parts["mupdf"])

# Batch runs: the CPU time per match of N times the matches beside 1x's; a
# run linear in its matches keeps the ratio at 1.
base = "BatchRun/1x"
for name in order:
    if name.startswith("BatchRun/") and name != base and base in per_match and name in per_match:
        ours, peer = per_match[name][0], per_match[base][0]
        line(name + " per match", ours, peer, "1x")
        print(f"  peak memory {per_match[name][1]:.0f} MB, 1x {per_match[base][1]:.0f} MB")
EOF
