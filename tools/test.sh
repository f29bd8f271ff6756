#!/bin/sh
# Builds and runs the whole test suite.
#   tools/test.sh                     the normal build
#   VEXLO_SANITIZE=1 tools/test.sh    the same tests under AddressSanitizer and UBSan
set -eu
cd "$(dirname "$0")/.."
tools/build.sh
if [ "${VEXLO_SANITIZE:-0}" = "1" ]; then dir=build-sanitize; else dir=build; fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$dir"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
