#!/usr/bin/env bash
# make run: the desktop program on the given QX home with the sample log open, or the
# headless main job when there is no display to show it on.
set -euo pipefail
build=$1
home=$2
mkdir -p "$home"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "Running the headless main job with qx7cli on $home instead."
    exec bash scripts/headless-job.sh "$build" "$home"
fi
# The first start writes the shipped sample ADIF log into the home's tmp folder; it
# becomes the QX7 log "sample" that the window opens.
cli=("$build/cli/qx7cli" --home "$home")
if [ ! -f "$home/logs/sample.qx7" ]; then
    "${cli[@]}" settings > /dev/null
    "${cli[@]}" newlog "$home/tmp/sample.adi" sample --call DL0QX > /dev/null
fi
exec "$build/app/qx7" --home "$home" sample.qx7
