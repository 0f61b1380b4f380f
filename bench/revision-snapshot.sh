#!/usr/bin/env bash
# "signaturePolicy" with the revision snapshot through the sandboxed worker
# next to `qpdf --check` of the same file: a 500-page file of about 100 MB,
# 100 pages sharing 10 fonts, and 1,000 bookmarks. The goal is no slower
# than qpdf --check plus one sandboxed launch, measured as the same
# operation without a snapshot on a one-page file. Prints the median of
# RUNS runs each. Run by hand after a build; not part of the test suite.
#
#   bench/revision-snapshot.sh [RUNS]        (default 5)
#   VELK_BUILD_DIR=/path/to/build bench/revision-snapshot.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
run="$build/tests-bin/velk-worker-run"
runs="${1:-5}"

if [[ ! -x "$run" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-worker-run velk-pdf-worker" >&2
  exit 2
fi
command -v qpdf >/dev/null || { echo "Missing qpdf: run scripts/setup.sh" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/revision-snapshot-fixtures.py" "$work"

request() {
  printf '{"operation":"signaturePolicy","path":"%s","snapshot":%s}' "$1" "$2" > "$work/request.json"
}

now() { date +%s%N; }
median_ms() {
  local times=()
  for _ in $(seq 1 "$runs"); do
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    end=$(now)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'
}

request "$work/tiny.pdf" false
launch=$(median_ms "$run" --time-limit 60000 "$work/request.json")
printf 'runs: %d (median)   one sandboxed launch %.1f ms\n' "$runs" "$launch"

for name in big fonts bookmarks; do
  file="$work/$name.pdf"
  request "$file" true
  reply=$("$run" --time-limit 60000 "$work/request.json")
  grep -q '"snapshot"' <<<"$reply" || { echo "No snapshot for $name.pdf: $reply" >&2; exit 1; }
  sandboxed=$(median_ms "$run" --time-limit 60000 "$work/request.json")
  check=$(median_ms qpdf --check "$file")
  awk -v n="$name.pdf" -v s="$sandboxed" -v c="$check" -v l="$launch" -v b="$(stat -c %s "$file")" 'BEGIN {
    printf "%-14s %7.1f MB   snapshot %8.1f ms   qpdf --check %8.1f ms   goal %8.1f ms   %s\n",
           n, b / 1048576, s, c, c + l, (s <= c + l ? "within" : "OVER")
  }'
done
