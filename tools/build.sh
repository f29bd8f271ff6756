#!/bin/sh
# Configures (once) and builds the project incrementally.
#   tools/build.sh            -> build/           (the updater is build/vexlo-updater)
#   VEXLO_SANITIZE=1 tools/build.sh -> build-sanitize/ (AddressSanitizer and UBSan)
#   tools/build.sh TARGET...  -> only those targets
set -eu
cd "$(dirname "$0")/.."

if [ "${VEXLO_SANITIZE:-0}" = "1" ]; then
    dir=build-sanitize
    flags="-DVEXLO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DVEXLO_BUILD_BENCH=OFF"
else
    dir=build
    flags="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
fi

generator=""
if command -v ninja >/dev/null 2>&1; then generator="-G Ninja"; fi

if [ ! -f "$dir/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    cmake -S . -B "$dir" $generator $flags
fi
if [ $# -gt 0 ]; then
    cmake --build "$dir" --parallel "$(nproc)" --target "$@"
else
    cmake --build "$dir" --parallel "$(nproc)"
fi
