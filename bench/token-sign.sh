#!/usr/bin/env bash
# The token worker beside pkcs11-tool on the same SoftHSM token and digest:
# RSA-PKCS over the SHA-256 DigestInfo, ECDSA on P-256, and the certificate
# listing, each RUNS times (median and slowest, in ms); then admitting a
# driver padded to 127 MiB beside `openssl dgst -sha256` of that file.
# Goal: each median within pkcs11-tool's + 10 ms; admission within the
# digest time + 50 ms. Run by hand after a build; not part of the tests.
#
#   bench/token-sign.sh [RUNS]            (default 50)
#   VELK_BUILD_DIR=/path/to/build bench/token-sign.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELK_BUILD_DIR:-$root/build}"
worker="$build/bin/velk-token-worker"
runs="${1:-50}"
module=/usr/lib/softhsm/libsofthsm2.so

if [[ ! -x "$worker" ]]; then
  echo "Build first: cmake --build \"$build\" --target velk-token-worker" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/tokens"
printf 'directories.tokendir = %s/tokens\nobjectstore.backend = file\nlog.level = ERROR\n' "$work" >"$work/softhsm2.conf"
export SOFTHSM2_CONF="$work/softhsm2.conf"
softhsm2-util --init-token --free --label "Velk Bench" --pin 1234 --so-pin 87654321 >/dev/null

tool() { pkcs11-tool --module "$module" --token-label "Velk Bench" "$@" 2>/dev/null; }
for pair in "01 rsa:2048" "02 ec:prime256v1"; do
  set -- $pair
  openssl req -x509 -nodes -newkey "${2%%:*}" \
    $([[ $2 == rsa:* ]] && echo "-pkeyopt rsa_keygen_bits:${2#rsa:}" || echo "-pkeyopt ec_paramgen_curve:${2#ec:}") \
    -subj "/CN=Velk Bench $1" -days 30 -keyout "$work/key$1.pem" -out "$work/cert$1.pem" 2>/dev/null
  openssl pkey -in "$work/key$1.pem" -outform DER -out "$work/key$1.der"
  openssl x509 -in "$work/cert$1.pem" -outform DER -out "$work/cert$1.der"
  tool --login --pin 1234 --write-object "$work/key$1.der" --type privkey --id "$1" >/dev/null
  tool --login --pin 1234 --write-object "$work/cert$1.der" --type cert --id "$1" >/dev/null
done

hash() { openssl dgst -sha256 -r "$1" | cut -d' ' -f1; }
printf 'Velk PDF' >"$work/data"
digest="$(hash "$work/data")"
printf '%s' "$digest" | xxd -r -p >"$work/digest"
{ printf '3031300d060960864801650304020105000420' | xxd -r -p; cat "$work/digest"; } >"$work/digestinfo"
moduleHash="$(hash "$module")"
slot="$(printf '{"operation":"list","module":"%s","moduleHash":"%s"}\n' "$module" "$moduleHash" \
  | "$worker" | grep -o '"slot":"[0-9]*"' | head -1 | cut -d'"' -f4)"

request() { # operation id
  printf '{"certificateHash":"%s","digest":"%s","id":"%s","module":"%s","moduleHash":"%s","operation":"%s","slot":"%s"}\n' \
    "$(hash "$work/cert$2.der")" "$digest" "$2" "$module" "$moduleHash" "$1" "$slot"
}
request sign 01 >"$work/sign01"; printf 1234 >>"$work/sign01"
request sign 02 >"$work/sign02"; printf 1234 >>"$work/sign02"
request list 01 >"$work/list"

# Runs the command RUNS times; prints the median and the slowest in ms.
measure() {
  local times=() start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "median %7.2f ms   slowest %7.2f ms\n", v[int((NR + 1) / 2)] / 1000, v[NR] / 1000 }'
}
feed() { "$worker" <"$1"; }

echo "RSA-2048, RSA-PKCS on the DigestInfo"
printf '  velk-token-worker  '; measure feed "$work/sign01"
printf '  pkcs11-tool        '; measure tool --login --pin 1234 --sign -m RSA-PKCS --id 01 -i "$work/digestinfo"
echo "P-256, ECDSA on the digest"
printf '  velk-token-worker  '; measure feed "$work/sign02"
printf '  pkcs11-tool        '; measure tool --login --pin 1234 --sign -m ECDSA --id 02 -i "$work/digest"
echo "Certificate listing"
printf '  velk-token-worker  '; measure feed "$work/list"
printf '  pkcs11-tool        '; measure tool --list-objects --type cert

echo "Admission of a driver padded to 127 MiB"
cp "$module" "$work/padded.so"
truncate -s 127M "$work/padded.so"
paddedHash="$(hash "$work/padded.so")"
printf '{"module":"%s","moduleHash":"%s","operation":"list"}\n' "$work/padded.so" "$paddedHash" >"$work/padded"
printf '  velk-token-worker  '; runs=5 measure feed "$work/padded"
printf '  openssl dgst       '; runs=5 measure openssl dgst -sha256 "$work/padded.so"
