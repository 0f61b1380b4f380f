#!/usr/bin/env python3
"""Writes the revision-snapshot benchmark's inputs into the given directory:
big.pdf (500 pages, about 100 MB of page content), fonts.pdf (100 pages
sharing 10 fonts with 224 widths each), bookmarks.pdf (1,000 bookmarks in
ten chains of 100 under one outline) and tiny.pdf (one page, for the cost
of one sandboxed launch). Correct cross-reference tables throughout."""
import hashlib
import sys


def write(path, objects):
    out = bytearray(b"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for index, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (index, body)
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as handle:
        handle.write(out)


def stream(data, entries=b""):
    return b"<< /Length %d %s >>\nstream\n%s\nendstream" % (len(data), entries, data)


def document(pages, content_bytes, fonts, outline_chains=0, chain_length=0):
    objects = [None, None, b"<< /Type /Outlines >>"]
    widths = b"[" + b" ".join(b"%d" % (500 + i % 100) for i in range(224)) + b"]"
    resources = b""
    for i in range(fonts):
        objects.append(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /FirstChar 32 /LastChar 255 "
                       b"/Widths %s >>" % widths)
        resources += b"/F%d %d 0 R " % (i, len(objects))
    kids = []
    seed = b"velk"
    for number in range(pages):
        text = b"BT /F%d 12 Tf 72 720 Td (Page %d) Tj ET\n" % (number % fonts, number)
        filler = bytearray()
        while len(filler) < content_bytes:
            seed = hashlib.sha256(seed).digest()
            filler += b"% " + seed.hex().encode() + b"\n"
        objects.append(stream(text + bytes(filler[:content_bytes])))
        objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                       b"/Resources << /Font << %s >> >> >>" % (len(objects), resources))
        kids.append(len(objects))
    firsts = []
    for chain in range(outline_chains):
        start = len(objects) + 1
        for item in range(chain_length):
            links = b""
            if item > 0:
                links += b" /Prev %d 0 R" % (start + item - 1)
            if item + 1 < chain_length:
                links += b" /Next %d 0 R" % (start + item + 1)
            objects.append(b"<< /Title (Bookmark %d.%d) /Parent 3 0 R /Dest [%d 0 R /Fit]%s >>"
                           % (chain, item, kids[item % len(kids)], links))
        firsts.append((start, start + chain_length - 1))
    if firsts:
        # Ten chains hang one after the other: the last of each links on.
        for (_, last), (first, _) in zip(firsts, firsts[1:]):
            objects[last - 1] = objects[last - 1][:-2] + b" /Next %d 0 R >>" % first
            objects[first - 1] = objects[first - 1][:-2] + b" /Prev %d 0 R >>" % last
        objects[2] = b"<< /Type /Outlines /First %d 0 R /Last %d 0 R /Count %d >>" % (
            firsts[0][0], firsts[-1][1], outline_chains * chain_length)
    objects[0] = b"<< /Type /Catalog /Pages 2 0 R /Outlines 3 0 R >>"
    objects[1] = b"<< /Type /Pages /Kids [%s] /Count %d >>" % (
        b" ".join(b"%d 0 R" % kid for kid in kids), pages)
    return objects


def main():
    directory = sys.argv[1]
    write(directory + "/big.pdf", document(500, 200 * 1024, 10))
    write(directory + "/fonts.pdf", document(100, 64, 10))
    write(directory + "/bookmarks.pdf", document(50, 64, 1, 10, 100))
    write(directory + "/tiny.pdf", document(1, 64, 1))


main()
