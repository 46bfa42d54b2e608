#!/usr/bin/env bash
# make run: the desktop program on the given QX home, or the headless main job when
# there is no display to show it on.
set -euo pipefail
build=$1
home=$2
mkdir -p "$home"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "Running the headless main job with qx7cli on $home instead."
    exec bash scripts/headless-job.sh "$build" "$home"
fi
exec "$build/app/qx7" --home "$home"
