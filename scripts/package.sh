#!/usr/bin/env bash
# Builds the Debian package velk-pdf_<version>_<arch>.deb into the build
# directory (or OUTPUT_DIR): set-up and build as scripts/build.sh does,
# install into a fresh staging directory, then CPack's DEB generator over it.
#
#   scripts/package.sh [OUTPUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
output="$(realpath -m "${1:-$build}")"

VELK_BUILD_DIR="$build" "$root/scripts/build.sh"
# The package installs under /usr whatever an older build directory chose.
cmake -S "$root" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" --parallel "$(nproc)"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
umask 022
DESTDIR="$stage/root" cmake --install "$build" --strip >/dev/null
mkdir -p "$output"
cpack --config "$build/CPackConfig.cmake" -B "$stage/cpack" \
  -D CPACK_INSTALL_CMAKE_PROJECTS= -D "CPACK_INSTALLED_DIRECTORIES=$stage/root;/"
mv -f "$stage"/cpack/*.deb "$output/"
ls "$output"/velk-pdf_*.deb
