#!/usr/bin/env bash
# Starts velk-pdf on a private virtual X display, waits for its window and
# saves it as a PNG. Needs Xvfb and ImageMagick's import (scripts/setup.sh).
# Usage: scripts/screenshot.sh [output.png] [velk-pdf arguments...]
# Default output: <build>/screenshots/velk-pdf.png (build dirs are not committed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
output="${1:-$build/screenshots/velk-pdf.png}"
shift || true

if [[ ! -f "$build/CMakeCache.txt" ]]; then "$root/scripts/build.sh" >&2; fi
cmake --build "$build" --target velk-pdf >&2
program="$build/bin/velk-pdf"
mkdir -p "$(dirname "$output")"

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  if [[ -n "$app_pid" ]]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor.
Xvfb -displayfd 3 -screen 0 1440x960x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  sleep 0.1
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' < "$work/display")"

QT_QPA_PLATFORM=xcb "$program" "$@" &
app_pid=$!
# import finds the window by its title once it is mapped.
shown=""
for _ in $(seq 100); do
  if timeout 5 import -window "Velk PDF" "$work/probe.png" 2>/dev/null; then shown=1; break; fi
  kill -0 "$app_pid" 2>/dev/null || { echo "velk-pdf ended before showing its window" >&2; exit 1; }
  sleep 0.1
done
[[ -n "$shown" ]] || { echo "no Velk PDF window appeared" >&2; exit 1; }
# Let the first frames paint before the capture that counts.
sleep 1
timeout 10 import -window "Velk PDF" "$output"
echo "$output"
