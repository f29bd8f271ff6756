#!/bin/sh
# The no-update road as a whole process against curl making the same POST on loopback.
# Goal: the updater takes at most 1.5 times as long as curl.
#   bench/app_no_update_road.sh      (after tools/build.sh; needs hyperfine and curl)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM

printf '{"version_number":"2.1.12.15","version_explain":"","update_type":"1","file_32":""}' > "$work/offer.json"
build/tools/update-service/vexlo-update-service --listen 127.0.0.1:0 --offer "$work/offer.json" > "$work/service.log" 2>&1 &
pid=$!
base=""
for _ in $(seq 1 100); do
    base=$(sed -n 's/^listening on \(http[^ ]*\).*/\1/p' "$work/service.log" | head -n 1)
    [ -n "$base" ] && break
    sleep 0.05
done
mkdir -p "$work/registry" "$work/data"
# The query curl sends: the same pairs the updater builds.
url="$base/api/check_update.php?aut=0&cid=6000&dispix=&iever=&mcn=1&mid=1&osbit=&osver=&pmid=&ver=2.1.12.15"

export VEXLO_UPDATE_SERVICE="$base" VEXLO_MACHINE_REGISTRY="$work/registry" XDG_DATA_HOME="$work/data"
hyperfine --warmup 5 --runs 100 -N \
    --export-markdown "$work/result.md" \
    -n updater "$root/build/vexlo-updater" \
    -n curl "curl -s -o /dev/null -X POST -H 'Content-Length: 0' -d '' $url"
cat "$work/result.md"
