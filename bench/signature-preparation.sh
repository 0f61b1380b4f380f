#!/usr/bin/env bash
# "prepareSignature" (visible and invisible) and "appendDss" with 10
# evidence files through the sandboxed worker, on a 500-page file of about
# 100 MB in both cross-reference forms (classic table and stream), each
# next to `pdfsig -add-signature` on the same file. Goals: no slower than
# pdfsig plus one sandboxed launch (the same runner on a one-page file),
# and peak memory at most three times the input. Prints the median time of
# RUNS runs and the peak resident memory of one run. Run by hand after a
# build; not part of the test suite.
#
#   bench/signature-preparation.sh [RUNS]        (default 5)
#   VELK_BUILD_DIR=/path/to/build bench/signature-preparation.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
run="$build/tests-bin/velk-worker-run"
runs="${1:-5}"

if [[ ! -x "$run" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-worker-run velk-pdf-worker" >&2
  exit 2
fi
for tool in qpdf pdfsig certutil pk12util openssl /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "Missing $tool: run scripts/setup.sh" >&2; exit 2; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/revision-snapshot-fixtures.py" "$work"
qpdf --object-streams=generate "$work/big.pdf" "$work/big-xref-stream.pdf"

# pdfsig's signer: a self-signed certificate in a fresh NSS database.
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Velk Bench" -days 2 \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -name bench -passout pass: -out "$work/bench.p12"
mkdir "$work/nss"
certutil -N -d "sql:$work/nss" --empty-password
pk12util -i "$work/bench.p12" -d "sql:$work/nss" -W "" >/dev/null

# Ten evidence files of 2 KB each.
sources=""
for i in $(seq 1 10); do
  head -c 2048 /dev/urandom > "$work/evidence-$i.der"
  kind=$([[ $i -le 4 ]] && echo Certs || ([[ $i -le 8 ]] && echo OCSPs || echo CRLs))
  sources+="${sources:+,}{\"kind\":\"$kind\",\"path\":\"$work/evidence-$i.der\"}"
done

now() { date +%s%N; }
# Median milliseconds of RUNS runs of "$@"; the output is removed first.
median_ms() {
  local times=()
  for _ in $(seq 1 "$runs"); do
    rm -f "$work/out.pdf"
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    end=$(now)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'
}
peak_mb() {
  rm -f "$work/out.pdf"
  /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1 || true
  awk '{printf "%.1f", $1 / 1024}' "$work/rss"
}

printf '{"operation":"signaturePolicy","path":"%s"}' "$work/tiny.pdf" > "$work/tiny.json"
launch=$(median_ms "$run" --time-limit 60000 "$work/tiny.json")
printf 'runs: %d (median)   one sandboxed launch %.1f ms\n' "$runs" "$launch"

for name in big big-xref-stream; do
  file="$work/$name.pdf"
  pdfsig_ms=$(median_ms pdfsig -nssdir "sql:$work/nss" -add-signature -nick bench "$file" "$work/out.pdf")
  pdfsig_mb=$(peak_mb pdfsig -nssdir "sql:$work/nss" -add-signature -nick bench "$file" "$work/out.pdf")
  input_mb=$(awk -v b="$(stat -c %s "$file")" 'BEGIN {printf "%.1f", b / 1048576}')
  printf '%s.pdf  %s MB   pdfsig -add-signature %s ms, %s MB\n' "$name" "$input_mb" "$pdfsig_ms" "$pdfsig_mb"
  for kind in invisible visible dss; do
    case $kind in
      invisible|visible)
        visible=$([[ $kind == visible ]] && echo true || echo false)
        printf '{"operation":"prepareSignature","path":"%s","output":"%s","page":0,"visible":%s,"signer":"Ayşe Yılmaz"}' \
          "$file" "$work/out.pdf" "$visible" > "$work/request.json" ;;
      dss)
        printf '{"operation":"appendDss","path":"%s","output":"%s","vri":"%s","sources":[%s]}' \
          "$file" "$work/out.pdf" "0123456789ABCDEF0123456789ABCDEF01234567" "$sources" > "$work/request.json" ;;
    esac
    rm -f "$work/out.pdf"
    reply=$("$run" --time-limit 60000 "$work/request.json")
    grep -Eq '"ok": *true' <<<"$reply" || { echo "$kind on $name.pdf failed: $reply" >&2; exit 1; }
    ms=$(median_ms "$run" --time-limit 60000 "$work/request.json")
    mb=$(peak_mb "$run" --time-limit 60000 "$work/request.json")
    awk -v k="$kind" -v ms="$ms" -v mb="$mb" -v p="$pdfsig_ms" -v l="$launch" -v in_mb="$input_mb" 'BEGIN {
      printf "  %-10s %8.1f ms (goal %8.1f, %s)   peak %7.1f MB (goal %7.1f, %s)\n", k, ms, p + l,
             (ms <= p + l ? "within" : "OVER"), mb, 3 * in_mb, (mb <= 3 * in_mb ? "within" : "OVER")
    }'
  done
done
