#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz/ (scripts/setup.sh fuzz) for a fixed
# time, starting from its seed corpus under tests/fuzz/corpus/, and fails on
# the first crash, sanitizer report, leak or timeout. What a run finds goes
# into build-fuzz/findings/<target>/ (crash-*, leak-*, timeout-* files: feed
# one to the target to replay it). The seeds are not changed.
#
#   scripts/run-fuzz.sh [SECONDS-PER-TARGET] [libFuzzer options...]
#
# CI runs it with the default of 8 seconds per target; a campaign gives more
# (and -jobs/-workers, or its own corpus folder to keep what it learns).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-8}"
if [[ $# -gt 0 ]]; then
  shift
fi
bin=build-fuzz/bin
declare -A seeds=(
  [fuzz_folio]=folio
  [fuzz_markup_drag]=markup_drag
  [fuzz_option_text]=option_text
)
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in fuzz_folio fuzz_markup_drag fuzz_option_text; do
  if [[ ! -x "$bin/$target" ]]; then
    echo "no $target in $bin; run scripts/setup.sh fuzz first" >&2
    exit 1
  fi
  findings="build-fuzz/findings/$target"
  mkdir -p "$findings" "$scratch/$target"
  echo "== fuzzing $target for ${seconds}s"
  # New inputs go to the scratch folder; the seeds are only read.
  if ! "$bin/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
       "$scratch/$target" "tests/fuzz/corpus/${seeds[$target]}" \
       > "$scratch/$target.log" 2>&1; then
    tail -n 60 "$scratch/$target.log"
    echo "== $target failed; the input is in $findings/" >&2
    exit 1
  fi
  grep -E "^stat::(number_of_executed_units|peak_rss_mb)|cov: " "$scratch/$target.log" | tail -n 3
done
