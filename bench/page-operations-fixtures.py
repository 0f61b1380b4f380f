#!/usr/bin/env python3
"""Writes the benchmark's inputs into the given directory: big.pdf (500
pages) and part1.pdf ... part10.pdf (50 pages each), one line of text in
Helvetica per page, with a correct cross-reference table."""
import sys


def pdf(pages, label):
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", None,
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    kids = []
    for number in range(1, pages + 1):
        content = b"BT /F1 24 Tf 72 720 Td (%s %d) Tj ET" % (label, number)
        objects.append(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
        content_id = len(objects)
        objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                       b"/Resources << /Font << /F1 3 0 R >> >> >>" % content_id)
        kids.append(b"%d 0 R" % len(objects))
    objects[1] = b"<< /Type /Pages /Kids [%s] /Count %d >>" % (b" ".join(kids), pages)
    out = bytearray(b"%PDF-1.7\n")
    offsets = []
    for index, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (index, body)
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


directory = sys.argv[1]
with open(f"{directory}/big.pdf", "wb") as f:
    f.write(pdf(500, b"Sayfa"))
for part in range(1, 11):
    with open(f"{directory}/part{part}.pdf", "wb") as f:
        f.write(pdf(50, b"Parca %d sayfa" % part))
