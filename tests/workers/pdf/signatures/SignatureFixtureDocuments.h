#pragma once

// Documents with signature fields for the permission and listing tests:
// catalogue 1, pages 2, page 3, font 4, content 5, then the fields and
// values each test adds from 6 on. Certification and approval values carry
// a placeholder that signPlaceholder fills.

#include "support/PdfFixtures.h"
#include "support/SignedPdfFixtures.h"

#include <QByteArray>
#include <QList>

namespace velk::test {

inline QByteArray docMdpReference(const QByteArray& params)
{
    return "<< /Type /SigRef /TransformMethod /DocMDP /TransformParams << /Type /TransformParams /V /1.2 " + params
           + " >> >>";
}

inline QByteArray fieldMdpReference(const QByteArray& params)
{
    return "<< /Type /SigRef /TransformMethod /FieldMDP /TransformParams << /Type /TransformParams /V /1.2 " + params
           + " >> >>";
}

// A signature value with references, waiting to be signed.
inline QByteArray signatureValue(const QByteArray& references, const QByteArray& subFilter = "/adbe.pkcs7.detached",
                                 int contentsBytes = 8192)
{
    const QByteArray referenceEntry = references.isEmpty() ? QByteArray() : " /Reference [" + references + "]";
    return "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter " + subFilter + " /M (D:20261211120000Z)"
           + referenceEntry + ' ' + signaturePlaceholder(contentsBytes) + " >>";
}

inline QByteArray streamObject(const QByteArray& data, const QByteArray& entries = {})
{
    return "<< /Length " + QByteArray::number(data.size()) + ' ' + entries + " >>\nstream\n" + data + "\nendstream";
}

// catalogExtra goes into the catalogue, annots onto the page; fields and
// values are objects 6 on.
inline QList<QByteArray> formBodies(const QByteArray& catalogExtra, const QByteArray& annots,
                                    const QList<QByteArray>& objects)
{
    QList<QByteArray> bodies{
        "<< /Type /Catalog /Pages 2 0 R " + catalogExtra + " >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R /Annots ["
            + annots + "] >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        streamObject("BT /F1 12 Tf 20 250 Td (Velk) Tj ET"),
    };
    return bodies + objects;
}

inline QByteArray signatureWidget(const QByteArray& name, const QByteArray& value, const QByteArray& extra = {})
{
    return "<< /FT /Sig /T (" + name + ") /Subtype /Widget /Rect [0 0 0 0] /F 132 /P 3 0 R"
           + (value.isEmpty() ? QByteArray() : " /V " + value) + ' ' + extra + " >>";
}

} // namespace velk::test
