#!/bin/sh
# The main job for a newcomer: installs what is needed, builds, and runs the updater
# against the bundled local update service, once for each road a user can meet:
#   ordinary  - a newer version: the popup downloads with a percentage line and offers to
#               install; its frames are written as PNG pictures
#   forced    - a forced update: downloaded silently and started with "/s"
#   current   - nothing newer: the updater ends at once and shows nothing
# Everything it makes goes to out/demo/.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

tools/install-deps.sh
tools/build.sh vexlo-updater vexlo-update-service vexlo-sample-installer

out="$root/out/demo"
rm -rf "$out"
mkdir -p "$out"

service="$root/build/tools/update-service/vexlo-update-service"
updater="$root/build/vexlo-updater"
installer="$root/build/tools/sample-installer/vexlo-sample-installer"

service_pid=""
stop_service() {
    if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
    service_pid=""
}
trap stop_service EXIT INT TERM

# run_road NAME OFFER-FILE: starts the service with that offer and runs the updater once.
run_road() {
    name=$1
    dir="$out/$name"
    mkdir -p "$dir/files" "$dir/registry" "$dir/data" "$dir/frames"
    cp "$installer" "$dir/files/setup_2.2.0.1.exe"
    sed "s#@FILES@#$dir/files#g" "$2" > "$dir/offer.json"
    "$service" --listen 127.0.0.1:0 --offer "$dir/offer.json" --files "$dir/files" --record "$dir/requests.jsonl" \
        > "$dir/service.log" 2>&1 &
    service_pid=$!
    base=""
    for _ in $(seq 1 100); do
        base=$(sed -n 's/^listening on \(http[^ ]*\).*/\1/p' "$dir/service.log" | head -n 1)
        [ -n "$base" ] && break
        sleep 0.05
    done
    if [ -z "$base" ]; then echo "the update service did not start"; cat "$dir/service.log"; exit 1; fi

    set +e
    (cd "$dir" && VEXLO_UPDATE_SERVICE="$base" VEXLO_MACHINE_REGISTRY="$dir/registry" XDG_DATA_HOME="$dir/data" \
        VEXLO_INSTALLER_RECORD="$dir/installer-record.txt" VEXLO_DISPLAY=headless VEXLO_FRAMES="$dir/frames" \
        VEXLO_HEADLESS_SCRIPT="$root/tools/demo/$name.script" \
        timeout 120 "$updater" > "$dir/updater.log" 2>&1)
    code=$?
    set -e
    stop_service

    echo "== $name road: the updater ended with exit code $code"
    echo "   requests it made:"
    sed -n 's/.*"method":"\([A-Z]*\)","target":"\([^"]*\)".*/     \1 \2/p' "$dir/requests.jsonl"
    if [ -s "$dir/installer-record.txt" ]; then
        echo "   installer started as:"
        sed 's/^/     /' "$dir/installer-record.txt"
    else
        echo "   no installer was started"
    fi
    frames=$(ls "$dir/frames" | wc -l)
    if [ "$frames" -gt 0 ]; then
        echo "   $frames frame(s) of what it showed, in $dir/frames:"
        ls "$dir/frames" | sed 's/^/     /' | tail -n 8
    else
        echo "   it showed nothing"
    fi
}

run_road ordinary tools/demo/ordinary-offer.json
run_road forced tools/demo/forced-offer.json
run_road current tools/demo/current-offer.json
echo "Everything is under $out"
