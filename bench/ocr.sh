#!/usr/bin/env bash
# OCR of one A4 page at 300 dpi through the sandboxed worker next to the
# tesseract program run directly on the same 2,481 x 3,508 image with
# "tur+eng" on one thread, the same language files and the same text-only
# PDF output. Prints the median of RUNS runs each and the ratio against
# the goal of 1.15.
# Run by hand after a build; not part of the test suite.
#
#   bench/ocr.sh [RUNS]        (default 5)
#   VELK_BUILD_DIR=/path/to/build bench/ocr.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
run="$build/tests-bin/velk-worker-run"
tessdata="$build/bin/tessdata"
runs="${1:-5}"

if [[ ! -x "$run" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-worker-run velk-pdf-worker" >&2
  exit 2
fi
for tool in tesseract pdftoppm; do
  command -v "$tool" >/dev/null || { echo "Missing $tool" >&2; exit 2; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"
python3 "$root/bench/ocr-fixture.py" "$work/page.pdf"
# The image the worker hands to Tesseract: the page at 300 dpi.
pdftoppm -png -singlefile -scale-to-x 2481 -scale-to-y 3508 "$work/page.pdf" "$work/page"
printf '{"operation":"ocr","path":"%s","page":0,"output":"%s"}' "$work/page.pdf" "$work/out/layer.pdf" \
  > "$work/ocr.json"

now() { date +%s%N; }
median_ms() {
  local times=()
  for _ in $(seq 1 "$runs"); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    end=$(now)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'
}

"$run" --time-limit 60000 "$work/ocr.json" >/dev/null
[[ -s "$work/out/layer.pdf" ]] || { echo "The worker wrote no text layer" >&2; exit 1; }

export OMP_THREAD_LIMIT=1
sandboxed=$(median_ms "$run" --time-limit 60000 "$work/ocr.json")
direct=$(median_ms tesseract "$work/page.png" "$work/out/direct" -l tur+eng --dpi 300 --tessdata-dir "$tessdata" -c textonly_pdf=1 pdf)
awk -v s="$sandboxed" -v d="$direct" -v r="$runs" 'BEGIN {
  printf "runs: %d (median)\n", r
  printf "A4 page at 300 dpi   sandboxed %8.1f ms   tesseract %8.1f ms   ratio %.3f   goal 1.15   %s\n",
         s, d, s / d, (s <= 1.15 * d ? "within" : "OVER")
}'
