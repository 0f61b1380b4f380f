#!/usr/bin/env bash
# Builds the Debian package velk-pdf_<version>_<arch>.deb into the build
# directory (or OUTPUT_DIR): set-up, configure and build what ships (as
# scripts/build.sh does, without the tests), install into a fresh staging
# root, then CPack's DEB generator over it.
#
#   scripts/package.sh [OUTPUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
output="$(realpath -m "${1:-$build}")"

"$root/scripts/setup.sh"

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VELK_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" \
    -DCMAKE_INSTALL_PREFIX=/usr
else
  # The package installs under /usr whatever an older build directory chose.
  cmake -S "$root" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target velk_package_contents

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
umask 022
DESTDIR="$stage/root" cmake --install "$build" --strip >/dev/null
cpack --config "$build/CPackConfig.cmake" -B "$stage/cpack" \
  -D CPACK_INSTALL_CMAKE_PROJECTS= -D "CPACK_INSTALLED_DIRECTORIES=$stage/root;/"
mkdir -p "$output"
for package in "$stage"/cpack/*.deb; do
  mv -f "$package" "$output/"
  echo "$output/$(basename "$package")"
done
