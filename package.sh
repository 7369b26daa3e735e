#!/usr/bin/env bash
# Builds the Debian package that IT installs on office PCs: a Release build in
# build-package/, with the spoken waves and the question database inside. The desktop entry,
# the metainfo and the package are checked (desktop-file-validate, appstreamcli, lintian).
# The package's path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --package
jobs=$(nproc 2>/dev/null || echo 2)
dir=build-package

# Debian's hardening flags (fortified functions, read-only relocations, immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVARENTA_BUILD_TESTS=OFF -DVARENTA_BUILD_BENCH=OFF -DVARENTA_WERROR=OFF \
    -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$dir" -j "$jobs" >&2

desktop-file-validate dist/unix/org.varenta.Varenta.desktop >&2
appstreamcli validate --no-net dist/unix/org.varenta.Varenta.metainfo.xml >&2

rm -f "$dir"/varenta_*.deb
(cd "$dir" && cpack -G DEB) >&2
deb=$(ls "$dir"/varenta_*.deb)
# Errors fail the package; warnings are shown.
lintian --fail-on error "$deb" >&2
echo "$(pwd)/$deb"
