#!/usr/bin/env bash
# Builds everything and starts Velk PDF with the given PDF paths.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" >&2
exec "${VELK_BUILD_DIR:-$root/build}/bin/velk-pdf" "$@"
