#!/usr/bin/env bash
# Pictures for the README: a home with two logs made from the shipped sample, the main
# window with both logs and the print queue filled from them (offscreen, no display).
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshots}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cli=("$build/cli/qx7cli" --home "$home")
"${cli[@]}" settings > /dev/null
"${cli[@]}" newlog "$home/tmp/sample.adi" sample --call DL0QX > /dev/null
"${cli[@]}" newlog "$home/tmp/sample.adi" portable --call DL0QX/P > /dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/app/qx7" --home "$home" \
    --screenshots "$out" sample.qx7 portable.qx7
echo "Pictures written to $out"
