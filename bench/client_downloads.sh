#!/bin/sh
# Loopback throughput of Download and DownloadWithProgress against curl -o of the same
# bytes, and the streamed download's peak memory for two file sizes.
#   bench/client_downloads.sh [MiB] [runs]     (defaults: 256 MiB, 3 runs each)
# Needs the build (tools/build.sh): bench_client_download and vexlo-update-service.
set -eu
cd "$(dirname "$0")/.."
size_mib=${1:-256}
runs=${2:-3}
build=${VEXLO_BUILD_DIR:-build}
runner=$build/bench/bench_client_download
service=$build/tools/update-service/vexlo-update-service
# VEXLO_BENCH_DIR: where the downloaded files go (default: a new folder under /tmp).
work=$(mktemp -d "${VEXLO_BENCH_DIR:-/tmp}/vexlo-bench-XXXXXX")
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

"$service" --listen 127.0.0.1:0 > "$work/service.out" &
pid=$!
while ! grep -q '^listening on ' "$work/service.out" 2>/dev/null; do
    kill -0 "$pid" || exit 1
    sleep 0.1
done
base=$(sed -n 's/^listening on //p' "$work/service.out")
bytes=$((size_mib * 1024 * 1024))
url="$base/gen/$bytes"

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# The three are interleaved run by run, so that the load of a shared machine falls on all
# of them alike; each figure is the median of its runs.
rate_of() { sed -n 's/.*MiB\/s=\([0-9.]*\).*/\1/p'; }
rss_of() { sed -n 's/.*maxrss_kib=\([0-9]*\).*/\1/p'; }
curl_rates=""; stream_rates=""; memory_rates=""
for _ in $(seq "$runs"); do
    rate=$(curl -s -o "$work/curl.bin" -w '%{speed_download}' "$url")
    curl_rates="$curl_rates $(echo "$rate" | awk '{printf "%.1f", $1 / 1048576}')"
    rm -f "$work/curl.bin"
    line=$("$runner" stream "$url" "$work/stream.bin"); rm -f "$work/stream.bin"
    stream_rates="$stream_rates $(echo "$line" | rate_of)"; stream_rss=$(echo "$line" | rss_of)
    line=$("$runner" memory "$url" "$work/memory.bin"); rm -f "$work/memory.bin"
    memory_rates="$memory_rates $(echo "$line" | rate_of)"; memory_rss=$(echo "$line" | rss_of)
done
med() { echo "$1" | tr ' ' '\n' | grep . | median; }
curl_mib=$(med "$curl_rates")
echo "curl -o:              $curl_mib MiB/s (runs:$curl_rates)"
for mode in stream memory; do
    if [ "$mode" = stream ]; then rates=$stream_rates; rss=$stream_rss; label=DownloadWithProgress
    else rates=$memory_rates; rss=$memory_rss; label=Download; fi
    mib=$(med "$rates")
    ratio=$(awk -v a="$mib" -v b="$curl_mib" 'BEGIN {printf "%.2f", a / b}')
    echo "$label: $mib MiB/s = $ratio x curl, peak RSS $((rss / 1024)) MiB (runs:$rates)"
done

# The streamed download's peak memory must not depend on the file's size.
for mib in 16 "$size_mib"; do
    line=$("$runner" stream "$base/gen/$((mib * 1024 * 1024))" "$work/rss.bin")
    rm -f "$work/rss.bin"
    echo "DownloadWithProgress of $mib MiB: peak RSS $(( $(echo "$line" | sed -n 's/.*maxrss_kib=\([0-9]*\).*/\1/p') / 1024 )) MiB"
done
