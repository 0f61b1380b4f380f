#pragma once

// The signing side's fill of a reservation the worker prepared, as the
// signing pipeline does it: find the one 65,538-byte /Contents placeholder,
// replace the three ten-digit ByteRange placeholders in place, digest the
// covered bytes, and write a CMS signature (from `openssl cms -cades`) or
// an RFC 3161 token (from a local `openssl ts` authority) into the
// reservation as lower-case hex padded with "0".

#include "TestPki.h"

#include <QByteArray>

namespace velk::test {

struct PlaceholderLocation {
    qint64 start = -1; // offset of "<"
    qint64 end = -1;   // just after ">"
    QByteArray digest; // SHA-256 of the covered bytes
    bool isValid() const { return start >= 0; }
};

// Patches the ByteRange of file in place; invalid when the placeholder or
// any range placeholder is missing or occurs more than once.
PlaceholderLocation locateSignaturePlaceholder(QByteArray& file);

// The bytes the signature covers: file without [start, end).
QByteArray coveredBytes(const QByteArray& file, const PlaceholderLocation& location);

// False when value does not fit the reservation.
bool writeSignatureValue(QByteArray& file, const PlaceholderLocation& location, const QByteArray& value);

// A detached CAdES CMS over data, DER; empty on failure.
QByteArray cadesSignature(TestPki& pki, const TestCertificate& signer, const QByteArray& data);

// A time-stamp token over data (SHA-256) from a TSA run by `openssl ts`;
// the TSA's certificate must carry a critical timeStamping usage. With
// fakeTime the authority answers at that (fake) time, as TestPki::opensslAt.
QByteArray timeStampToken(TestPki& pki, const TestCertificate& tsa, const QByteArray& data,
                          const QString& fakeTime = {});

// The whole fill with a CAdES signature or a document time stamp; empty on
// failure.
QByteArray fillSignature(const QByteArray& prepared, TestPki& pki, const TestCertificate& signer);
QByteArray fillTimeStamp(const QByteArray& prepared, TestPki& pki, const TestCertificate& tsa);

} // namespace velk::test
