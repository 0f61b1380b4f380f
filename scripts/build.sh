#!/usr/bin/env bash
# Set-up (idempotent), configure and build. The programs land in build/bin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VELK_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}"
fi
cmake --build "$build" --parallel "$(nproc)"
