#!/usr/bin/env bash
# Runs the concurrency tests of build-tsan/ (scripts/setup.sh tsan) under
# ThreadSanitizer and fails on any report: the weak reference's last release
# racing Lock, error records per thread, the UI thread and the dispatcher's
# hand-over (the UI handlers' too), and a page's content changing on another
# thread while the caret reads its cache.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build-tsan/bin
# A report ends the program with exit code 66, which fails the run.
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
run() {
  echo "== ThreadSanitizer: $*"
  "$bin/$1" "${@:2}" --gtest_brief=1
}
run framework_tests
run uiengine_tests
run plugin_text_tests --gtest_filter='SelectCaretTest.*:EventSubscription.*:PageTextTest.*'
