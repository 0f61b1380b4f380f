#!/usr/bin/env bash
# Starts velk-pdf on a private virtual X display, waits for its window and
# saves it as a PNG. Needs Xvfb and ImageMagick's import (scripts/setup.sh).
# Usage: scripts/screenshot.sh [--with-document] [output.png] [velk-pdf arguments...]
#   --with-document  also writes a three-page sample PDF (the velk-sample-pdf
#                    tool) and opens it, so the window shows a document tab.
# Default output: <build>/screenshots/velk-pdf.png (build dirs are not committed).
# VELK_SCREENSHOT_WAIT: seconds given to documents to open and render (5).
# Examples:
#   scripts/screenshot.sh                                   the start page
#   scripts/screenshot.sh --with-document /tmp/main.png     one document open
#   scripts/screenshot.sh shot.png ~/belgeler/rapor.pdf     any PDF of yours
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
sample=""
if [[ "${1:-}" == "--with-document" ]]; then sample=1; shift; fi
output="${1:-$build/screenshots/velk-pdf.png}"
shift || true

if [[ ! -f "$build/CMakeCache.txt" ]]; then "$root/scripts/build.sh" >&2; fi
# velk-pdf brings the worker beside it; documents open through the worker.
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

documents=("$@")
if [[ -n "$sample" ]]; then
  cmake --build "$build" --target velk-sample-pdf >&2
  "$build/tests-bin/velk-sample-pdf" "$work/örnek-belge.pdf"
  documents=("$work/örnek-belge.pdf" "${documents[@]}")
fi

# A private runtime directory gives this velk-pdf its own worker lock, so its
# documents do not wait behind worker runs of tests going on meanwhile.
mkdir -m 0700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" "${documents[@]}" &
app_pid=$!
# Waits for the window by its title. import grabs the server while it looks,
# and a grab that meets velk-pdf's connection set-up ends velk-pdf; so
# xwininfo (x11-utils), which does not grab, looks when it is there, and
# import only after velk-pdf has had time to connect.
window_shown() {
  if command -v xwininfo >/dev/null; then
    local info
    info="$(xwininfo -name "Velk PDF" 2>/dev/null)" || return 1
    [[ "$info" == *IsViewable* ]]
  else
    timeout 5 import -window "Velk PDF" "$work/probe.png" 2>/dev/null
  fi
}
command -v xwininfo >/dev/null || sleep 1
shown=""
for _ in $(seq 100); do
  if window_shown; then shown=1; break; fi
  kill -0 "$app_pid" 2>/dev/null || { echo "velk-pdf ended before showing its window" >&2; exit 1; }
  sleep 0.1
done
[[ -n "$shown" ]] || { echo "no Velk PDF window appeared" >&2; exit 1; }
# Let the first frames paint, and any document open and render, before the
# capture that counts; on a busy machine VELK_SCREENSHOT_WAIT (seconds)
# gives the documents longer.
if ((${#documents[@]})); then sleep "${VELK_SCREENSHOT_WAIT:-5}"; else sleep 1; fi
timeout 10 import -window "Velk PDF" "$output"
echo "$output"
