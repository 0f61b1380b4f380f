#!/usr/bin/env bash
# Page operations through the sandboxed worker next to the same qpdf
# command run directly: organising a 500-page document (reverse order,
# every other page rotated) and merging ten 50-page files. Also times one
# sandboxed run that is refused at once, the cost of a sandbox launch with
# the worker's start and self-check. Prints the median of RUNS runs each.
# Run by hand after a build; not part of the test suite.
#
#   bench/page-operations.sh [RUNS]        (default 15)
#   VELK_BUILD_DIR=/path/to/build bench/page-operations.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
run="$build/tests-bin/velk-worker-run"
runs="${1:-15}"

if [[ ! -x "$run" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-worker-run" >&2
  exit 2
fi
command -v qpdf >/dev/null || { echo "Missing qpdf: run scripts/setup.sh" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/out"
python3 "$root/bench/page-operations-fixtures.py" "$work/in"

# Arguments and requests of both jobs.
organise_pages="$(seq -s, 500 -1 1)"
organise_rotate="--rotate=+90:$(seq -s, 1 2 500)"
merge_args=()
merge_sources=""
for i in $(seq 1 10); do
  merge_args+=("$work/in/part$i.pdf" "1-z")
  merge_sources+="${merge_sources:+,}{\"path\":\"$work/in/part$i.pdf\"}"
done
python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
pages = list(range(499, -1, -1))
rotations = [90 if i % 2 == 0 else 0 for i in range(500)]
json.dump({"operation": "pages", "sources": [{"path": f"{work}/in/big.pdf", "pages": pages}],
           "rotations": rotations, "output": f"{work}/out/output.pdf"}, open(f"{work}/organise.json", "w"))
json.dump({"operation": "pages", "sources": [{"path": f"{work}/in/part{i}.pdf"} for i in range(1, 11)],
           "output": f"{work}/out/output.pdf"}, open(f"{work}/merge.json", "w"))
json.dump({"operation": "pages", "sources": [], "output": f"{work}/out/output.pdf"},
          open(f"{work}/launch.json", "w"))
PY

now() { date +%s%N; }
# Median wall time in milliseconds of "$@" over $runs runs; the output file
# is removed before each run (the worker refuses an existing output).
median_ms() {
  local times=()
  for _ in $(seq 1 "$runs"); do
    rm -f "$work/out/output.pdf"
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    end=$(now)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'
}

check_output() {
  rm -f "$work/out/output.pdf"
  "$@" >/dev/null
  qpdf --check "$work/out/output.pdf" >/dev/null
}
check_output "$run" --time-limit 60000 "$work/organise.json"
check_output "$run" --time-limit 60000 "$work/merge.json"

launch=$(median_ms "$run" "$work/launch.json")
org_sandbox=$(median_ms "$run" --time-limit 60000 "$work/organise.json")
org_direct=$(median_ms qpdf "$work/in/big.pdf" "$work/out/output.pdf" --pages . "$organise_pages" -- "$organise_rotate")
merge_sandbox=$(median_ms "$run" --time-limit 60000 "$work/merge.json")
merge_direct=$(median_ms qpdf --empty "$work/out/output.pdf" --pages "${merge_args[@]}" --)

report() {
  awk -v name="$1" -v s="$2" -v d="$3" -v l="$launch" 'BEGIN {
    goal = 1.2 * d + l
    printf "%-28s sandboxed %8.1f ms   qpdf %8.1f ms   goal (1.2 x qpdf + launch) %8.1f ms   %s\n",
           name, s, d, goal, (s <= goal ? "within" : "OVER")
  }'
}
echo "runs: $runs (median); one refused sandboxed run (launch): $launch ms"
report "organise 500 pages" "$org_sandbox" "$org_direct"
report "merge 10 x 50 pages" "$merge_sandbox" "$merge_direct"
