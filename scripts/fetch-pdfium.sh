#!/usr/bin/env bash
# Fetches the pinned PDFium build from the npm registry and installs its
# libpdfium.so into .deps/pdfium, but only after both the tarball's SRI and
# the library's own digest match the pinned values.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dest="$root/.deps/pdfium"
package="@craftlions/pdfium-rs-linux-x64-gnu"
version="0.0.15"
sri="sha512-Uqi8LY7CCkgngrrfFVL1Uijjw3hwry5Kd0S7/9kzmz0rQXIMI+X+gZEm76RWnu8W3LmiLvIbfZFJd+jXgVc75w=="
libsha256="246872bdd5e05843b70051e6378216cc584535a1f4a7248b9f88059715d70f7c"

if [[ -f "$dest/libpdfium.so" ]] && echo "$libsha256  $dest/libpdfium.so" | sha256sum --check --status; then
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "$package@$version" >/dev/null)
tarball="$(ls "$work"/*.tgz)"

actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
if [[ "$actual" != "$sri" ]]; then
  echo "PDFium tarball integrity mismatch: $actual" >&2
  exit 1
fi

tar -xzf "$tarball" -C "$work" package/libpdfium.so
if ! echo "$libsha256  $work/package/libpdfium.so" | sha256sum --check --status; then
  echo "libpdfium.so digest mismatch" >&2
  exit 1
fi

mkdir -p "$dest"
install -m 0644 "$work/package/libpdfium.so" "$dest/libpdfium.so.tmp"
mv -f "$dest/libpdfium.so.tmp" "$dest/libpdfium.so"
