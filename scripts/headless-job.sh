#!/usr/bin/env bash
# The program's main job without windows, on the shipped sample data. It grows as the
# program does: start-up and settings today.
set -euo pipefail
build=$1
home=$2
cli="$build/cli/qx7cli"

echo "== Start-up on $home: the settings the program runs with"
"$cli" --home "$home" settings
echo "== Done. Settings file: $home/qx7.ini"
