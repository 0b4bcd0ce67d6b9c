#!/usr/bin/env bash
# Sets everything up and runs the whole test suite twice: in a plain build
# and under AddressSanitizer + UndefinedBehaviorSanitizer; then each fuzz
# target for a few seconds (build-fuzz/, clang), and the concurrency tests
# under ThreadSanitizer (build-tsan/).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh plain
echo "== tests (plain build)"
ctest --test-dir build --output-on-failure -j2

bash scripts/setup.sh asan
echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2

bash scripts/setup.sh fuzz
echo "== fuzzing (libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
bash scripts/run-fuzz.sh 8

bash scripts/setup.sh tsan
echo "== concurrency tests (ThreadSanitizer)"
bash scripts/run-tsan.sh
