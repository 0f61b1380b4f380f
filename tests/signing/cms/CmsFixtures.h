#pragma once

// Detached CMS signatures made for the CMS tests: by the `openssl cms`
// program (foreign signatures with the options a test names), and in
// process with hand-chosen signing-certificate attributes that the program
// cannot produce. Also the time-stamp attribute a signature time stamp adds.

#include "support/TestPki.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace velk::test {

// `openssl cms -sign -binary -outform DER` over data with the signer and the
// extra options ("-md", "sha1", "-cades", "-noattr", "-certfile", ...).
QByteArray opensslCms(TestPki& pki, const TestCertificate& signer, const QByteArray& data,
                      const QStringList& options = {});

// A second signer added to a CMS by `openssl cms -resign`.
QByteArray addSecondSigner(TestPki& pki, const QByteArray& cms, const TestCertificate& signer);

enum class EssBinding {
    None,              // no signing-certificate attribute
    VersionOne,        // the old signingCertificate naming the signer
    SignerThenCa,      // signingCertificateV2 naming the signer, then the CA
    CaFirst,           // signingCertificateV2 whose first entry is the CA
};

// SHA-256 detached CMS over data with the given binding; the CA's
// certificate travels in the CMS.
QByteArray cmsWithBinding(const TestCertificate& signer, const TestCertificate& ca, const QByteArray& data,
                          EssBinding binding);

// The CMS with `token` added as its signature time stamp; empty on failure.
QByteArray withTimestampAttribute(const QByteArray& cms, const QByteArray& token);

// A device holding the key of this PEM file: SHA-256 with the key's default
// scheme (PKCS#1 v1.5, DER ECDSA); empty on failure.
QByteArray signWithKey(const QString& keyPath, const QByteArray& data);

// The bytes of the CMS's only signature value.
QByteArray cmsSignatureValue(const QByteArray& cms);

} // namespace velk::test
