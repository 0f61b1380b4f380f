#!/usr/bin/env bash
# Brings a fresh Debian 12 machine to the point where Velk PDF builds and its
# tests run: Debian packages (only the missing ones), then the verified PDFium
# library. Safe to run again; it does nothing that is already done.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(
  # build
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev libssl-dev
  qt6-translations-l10n  # Qt's own dialogs in Turkish (qtbase_tr.qm)
  # engines loaded by the PDF worker at run time, and their data
  libqpdf29 libtesseract5 tesseract-ocr-tur tesseract-ocr-eng
  # the application font
  fonts-roboto-unhinted
  # fetching PDFium and the tools the tests use as independent judges
  qpdf poppler-utils openssl softhsm2 opensc
  libp11-kit-dev  # PKCS#11 types (header only) for the token worker
  faketime curl  # fixed clocks for the test TSA, OCSP responder and CRLs; the evidence benchmark
  mupdf-tools  # reference renderer of bench/open-first-page.sh, beside poppler-utils
  libnss3-tools  # certutil and pk12util: the NSS database pdfsig signs test fixtures from
  tzdata  # the time-zone data a signature seal reads; its test runs with TZ=Europe/Istanbul
  xvfb imagemagick desktop-file-utils  # screenshots of the GUI; the desktop entry's validator
  dpkg-dev file lintian appstream  # the Debian package: dpkg-shlibdeps for CPack, its judges
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# npm may come from a Node.js package other than Debian's; only a machine
# without it gets Debian's.
if ! command -v npm >/dev/null; then missing+=(nodejs npm); fi

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

"$here/fetch-pdfium.sh"
