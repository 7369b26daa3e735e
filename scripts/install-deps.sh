#!/usr/bin/env bash
# Installs the Debian 12 packages Varenta needs to build, test and run. Safe to run again:
# only what is missing is installed. With --package, also what ./package.sh needs; with --fuzz,
# also clang and its libFuzzer runtime, which scripts/fuzz.sh needs.
set -euo pipefail

PACKAGES=(
    build-essential cmake ccache clang-format
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-multimedia-dev libgl-dev
    qt6-qpa-plugins
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    poppler-utils espeak-ng sox xvfb xauth fonts-liberation cups-client libcups2-dev
)
if [ "${1:-}" = "--fuzz" ]; then
    PACKAGES+=(clang libclang-rt-14-dev)
fi

# ./package.sh also checks the package and its desktop files.
if [ "${1:-}" = "--package" ]; then
    PACKAGES+=(dpkg-dev fakeroot lintian desktop-file-utils appstream)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
