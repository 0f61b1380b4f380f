#!/usr/bin/env bash
# Opening a 500-page text PDF to its first page image at 150 dpi, and one
# page render through the sandboxed worker next to pdftoppm and mutool
# (Debian packages poppler-utils and mupdf-tools). Run by hand after a
# build; not part of the test suite.
#
#   bench/open-first-page.sh [RUNS]        (default 30)
#   VELK_BUILD_DIR=/path/to/build bench/open-first-page.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
bench="$build/bin/velk-open-first-page-bench"

if [[ ! -x "$bench" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-open-first-page-bench" >&2
  exit 2
fi
for tool in pdftoppm mutool; do
  command -v "$tool" >/dev/null || echo "Missing $tool: run scripts/setup.sh" >&2
done
exec "$bench" "${1:-30}"
