#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages VORAX needs to build, test and run, when they are missing.
# Safe to run again: it only calls apt-get when a package is not installed yet.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6 libgl-dev
    qt6-svg-dev         # SVG drawings of graphs (Qt SVG)
    zlib1g-dev          # PNG pictures written by the program's own encoder
    libdeflate-dev      # the page content of PDF drawings, deflated
    libgtest-dev googletest
    gfortran # tests only: the reader is compared with a list-directed Fortran reader
    poppler-utils libxml2-utils # tests only: written PDFs rendered and read, SVGs parsed
    fonts-liberation2
    desktop-file-utils  # the installation test validates the desktop entry
    appstream           # ... and the software centre's description (appstreamcli)
    dpkg-dev            # dpkg-shlibdeps, for the dependencies of the Debian package
)
# Optional extras for a developer's machine: a virtual display for screenshots, benchmarks.
if [[ "${VORAX_DEV_EXTRAS:-0}" == 1 ]]; then
    packages+=(xvfb x11-apps xdotool imagemagick libbenchmark-dev clang ccache librsvg2-bin)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
