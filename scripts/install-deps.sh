#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the interop checks need.
# Safe to run twice: apt-get skips what is already there, and nothing is fetched when
# every package is present.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
    libjpeg62-turbo-dev libcups2-dev
    # Arial, Times New Roman and Courier New, the fonts label layouts are made with, have
    # metric twins here: texts then take the room on a label that their layout gave them
    fonts-liberation2
    # tests and benchmarks
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth poppler-utils
    # a real print spooler with a queue that writes PDF files, for the printing tests
    cups printer-driver-cups-pdf
    # independent dBase readers and writers the interop tests compare with
    python3 python3-dbfread python3-dbf libdbd-xbase-perl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
