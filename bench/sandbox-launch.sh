#!/usr/bin/env bash
# What the sandbox adds to one PDF-worker run: the real worker with the same
# request, sandboxed and as a plain fork/exec child, many times each.
# Run by hand after a build; not part of the test suite.
#
#   bench/sandbox-launch.sh [RUNS]        (default 200)
#   VELK_BUILD_DIR=/path/to/build bench/sandbox-launch.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
bench="$build/tests-bin/velk-sandbox-bench"

if [[ ! -x "$bench" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-sandbox-bench" >&2
  exit 2
fi
exec "$bench" "${1:-200}"
