#!/usr/bin/env python3
# Writes the OCR benchmark's page: one A4 page (595.276 x 841.89 pt) of
# plain Helvetica text lines, Turkish words without their special letters
# and English sentences, which the worker renders at 300 dpi.
import sys

LINES = [
    "Ankara ve Izmir arasinda yeni bir tren hatti acildi.",
    "The quick brown fox jumps over the lazy dog.",
    "Bu belge tarama sonrasi metin tanima icin hazirlandi.",
    "Invoices must be paid within thirty days of receipt.",
    "Kitaplar, defterler ve kalemler masanin uzerinde duruyor.",
    "Please keep this document for your records.",
]


def page_content():
    rows = []
    y = 780
    for index in range(40):
        text = LINES[index % len(LINES)].replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
        rows.append(f"BT /F1 11 Tf 56 {y} Td ({text}) Tj ET")
        y -= 18
    return "\n".join(rows).encode("ascii")


def write_pdf(path):
    content = page_content()
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.276 841.89] "
        b"/Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
        b"<< /Length " + str(len(content)).encode() + b" >>\nstream\n" + content + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]
    out = bytearray(b"%PDF-1.7\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    with open(path, "wb") as handle:
        handle.write(out)


if __name__ == "__main__":
    write_pdf(sys.argv[1])
