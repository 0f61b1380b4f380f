#!/usr/bin/env bash
# Verifying every signature of a file offline: velk-verify-run (the
# application's verification, every worker run sandboxed) next to
# `pdfsig -no-ocsp` on the same files, made here by `pdfsig -add-signature`
# with 1, 10 and 64 signatures in successive revisions. Prints the median
# of RUNS runs per file and per signature, and one sandboxed worker run
# ("signaturePolicy" on the one-signature file) for scale. Goal: at most
# 100 ms per signature and no slower than pdfsig. Run by hand after a
# build; not part of the test suite.
#
#   bench/verify-signatures.sh [RUNS]        (default 5)
#   VELK_BUILD_DIR=/path/to/build bench/verify-signatures.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
verify="$build/tests-bin/velk-verify-run"
run="$build/tests-bin/velk-worker-run"
runs="${1:-5}"

if [[ ! -x "$verify" || ! -x "$run" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-verify-run velk-worker-run velk-pdf-worker" >&2
  exit 2
fi
for tool in pdfsig certutil pk12util openssl python3; do
  command -v "$tool" >/dev/null || { echo "Missing $tool: run scripts/setup.sh" >&2; exit 2; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A root and a signer it issued; pdfsig signs from a fresh NSS database.
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Velk Bench Root" -days 2 \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/root-key.pem" -out "$work/root.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Velk Bench Signer" -keyout "$work/key.pem" -out "$work/req.pem" \
  2>/dev/null
printf 'keyUsage=critical,digitalSignature,nonRepudiation\nextendedKeyUsage=emailProtection\n' > "$work/ext.cnf"
openssl x509 -req -in "$work/req.pem" -CA "$work/root.pem" -CAkey "$work/root-key.pem" -set_serial 2 -days 2 \
  -extfile "$work/ext.cnf" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -name bench -passout pass: -out "$work/bench.p12"
mkdir "$work/nss"
certutil -N -d "sql:$work/nss" --empty-password
pk12util -i "$work/bench.p12" -d "sql:$work/nss" -W "" >/dev/null
certutil -A -d "sql:$work/nss" -n root -t "CT,C,C" -i "$work/root.pem"

python3 - "$work/signed-0.pdf" <<'PY'
import sys
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
           b"/Resources << /Font << /F1 5 0 R >> >> >>",
           b"<< /Length 44 >>\nstream\nBT /F1 24 Tf 72 720 Td (Velk bench) Tj ET\nendstream",
           b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
pdf = bytearray(b"%PDF-1.7\n")
offsets = []
for number, body in enumerate(objects, 1):
    offsets.append(len(pdf))
    pdf += b"%d 0 obj\n%s\nendobj\n" % (number, body)
xref = len(pdf)
pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
pdf += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(sys.argv[1], "wb").write(pdf)
PY
for i in $(seq 1 64); do
  pdfsig -nssdir "sql:$work/nss" -add-signature -nick bench -new-signature-field-name "imza$i" \
    "$work/signed-$((i - 1)).pdf" "$work/signed-$i.pdf" >/dev/null
done

now() { date +%s%N; }
# Median milliseconds of RUNS runs of "$@".
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

printf '{"operation":"signaturePolicy","path":"%s"}' "$work/signed-1.pdf" > "$work/policy.json"
printf 'runs: %d (median)   one sandboxed worker run %s ms\n' "$runs" "$(median_ms "$run" "$work/policy.json")"
for count in 1 10 64; do
  file="$work/signed-$count.pdf"
  ours=$(median_ms "$verify" --trust "$work/root.pem" "$file")
  theirs=$(median_ms pdfsig -nssdir "sql:$work/nss" -no-ocsp "$file")
  awk -v n="$count" -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "%2d signatures   velk-verify-run %8.1f ms (%6.1f per signature)   pdfsig -no-ocsp %8.1f ms (%6.1f per signature)\n",
      n, o, o / n, t, t / n }'
done
