#!/usr/bin/env bash
# Installs what is missing, builds, prepares a demonstration data disk (once; it is never
# overwritten) and starts Varenta on it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
disk="$data_home/varenta/demo-disk"
if [ ! -e "$disk/TID" ]; then
    mkdir -p "$(dirname "$disk")"
    build/bin/varenta-cli init-disk "$disk" --demo
fi
echo "Data disk: $disk"
exec build/bin/varenta --data-dir "$disk" "$@"
