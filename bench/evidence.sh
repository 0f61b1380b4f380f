#!/usr/bin/env bash
# Evidence requests against the loopback test server, RUNS runs each:
#  - requestTimestamp (request, fetch, response and token checks) beside
#    `openssl ts -query | curl --data-binary | openssl ts -verify`; goal: a
#    median no higher than the command line's;
#  - a 15 MB download through fetchEvidence beside `curl -o`; goal: at most
#    3 times curl's median.
# Our figures are measured inside the benchmark program, the command lines'
# around each pipeline. Run by hand after a build; not part of the test suite.
#
#   bench/evidence.sh [RUNS]        (default 30)
#   VELK_BUILD_DIR=/path/to/build bench/evidence.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
tool="$build/tests-bin/velk-evidence-bench"
runs="${1:-30}"

if [[ ! -x "$tool" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-evidence-bench" >&2
  exit 2
fi
for program in openssl curl; do
  command -v "$program" >/dev/null || { echo "Missing $program" >&2; exit 2; }
done

work="$(mktemp -d)"
server_pid=
cleanup() {
  if [[ -n "$server_pid" ]]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$tool" serve "$work/pki" > "$work/port" &
server_pid=$!
for _ in $(seq 1 600); do [[ -s "$work/port" ]] && break; sleep 0.1; done
port="$(head -n1 "$work/port")"
[[ -n "$port" ]] || { echo "The evidence server did not start" >&2; exit 1; }
base="http://127.0.0.1:$port"
digest="$(printf 'benchmark' | openssl dgst -sha256 -r | cut -d' ' -f1)"

now() { date +%s%N; }
median_ms() {
  local times=()
  for _ in $(seq 1 "$runs"); do
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1 || { echo "A run failed: $*" >&2; exit 1; }
    end=$(now)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'
}

cli_timestamp() {
  openssl ts -query -digest "$digest" -sha256 -cert \
    | curl -sf --data-binary @- -H 'Content-Type: application/timestamp-query' "$base/tsa" -o "$work/reply.tsr"
  openssl ts -verify -in "$work/reply.tsr" -digest "$digest" -CAfile "$work/pki/root.pem" \
    -untrusted "$work/pki/intermediate.pem"
}

ours_ts=$("$tool" timestamp "$base/tsa" "$work/pki/root.pem" "$runs")
cli_ts=$(median_ms cli_timestamp)
ours_crl=$("$tool" fetch "$base/big.crl" "$runs")
curl_crl=$(median_ms curl -sf -o "$work/big.crl" "$base/big.crl")

awk -v ot="$ours_ts" -v ct="$cli_ts" -v oc="$ours_crl" -v cc="$curl_crl" -v r="$runs" 'BEGIN {
  printf "runs: %d (median)\n", r
  printf "time stamp     requestTimestamp %8.1f ms   openssl|curl|openssl %8.1f ms   ratio %.2f   goal 1.00   %s\n",
         ot, ct, ot / ct, (ot <= ct ? "within" : "OVER")
  printf "15 MB CRL      fetchEvidence    %8.1f ms   curl -o              %8.1f ms   ratio %.2f   goal 3.00   %s\n",
         oc, cc, oc / cc, (oc <= 3 * cc ? "within" : "OVER")
}'
