// velk-verify-run: developer tool, built with the tests and never installed.
// Opens a PDF as the application does, verifies its signatures with the
// workers of the build's application directory and prints one JSON object:
// "error" (the run's error, "" when none), "reports" (every report field by
// name; bytes as Base64, lists of bytes as arrays of Base64) and "text" (the
// result text exactly as the verification window shows it). Exit status 0
// when "error" is empty, 1 otherwise, 2 on a usage error.
//
//   velk-verify-run [--trust PEM] [--network] [--allow-private-host HOST]...
//                   [--password TEXT] FILE.pdf

#include "document/core/DocumentOpen.h"
#include "signing/verification/SignatureVerifier.h"
#include "signing/verification/VerificationText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace velk;

namespace {

QString base64(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QJsonArray base64List(const QList<QByteArray>& items)
{
    QJsonArray list;
    for (const QByteArray& item : items)
        list.append(base64(item));
    return list;
}

QJsonObject toJson(const SignatureReport& r)
{
    return QJsonObject{
        {"number", r.number},
        {"integrityValid", r.integrityValid},
        {"coversWholeFile", r.coversWholeFile},
        {"chainTrusted", r.chainTrusted},
        {"purposeValid", r.purposeValid},
        {"chain", base64List(r.chain)},
        {"signerName", r.signerName},
        {"verdict", r.verdict},
        {"declaredSigningTime", r.declaredSigningTime},
        {"hasTimestamp", r.hasTimestamp},
        {"timestampValid", r.timestampValid},
        {"timestampTime", r.timestampTime},
        {"timestampToken", base64(r.timestampToken)},
        {"tsaRevocationStatus", r.tsaRevocationStatus},
        {"revocationStatus", r.revocationStatus},
        {"revocationText", r.revocationText},
        {"nesQualified", r.nesQualified},
        {"nesText", r.nesText},
        {"permissionsText", r.permissionsText},
        {"permissionViolation", r.permissionViolation},
        {"revisionUncertain", r.revisionUncertain},
        {"historicalStatus", r.historicalStatus},
        {"historicalText", r.historicalText},
        {"coveredLength", r.coveredLength},
        {"isDocumentTimestamp", r.isDocumentTimestamp},
        {"archiveCovered", r.archiveCovered},
        {"archiveText", r.archiveText},
        {"signerCertificate", base64(r.signerCertificate)},
        {"certificates", base64List(r.certificates)},
        {"ocspResponses", base64List(r.ocspResponses)},
        {"crls", base64List(r.crls)},
    };
}

int print(const SignatureReports& result, int status)
{
    QJsonArray reports;
    for (const SignatureReport& report : result.reports)
        reports.append(toJson(report));
    const QJsonObject output{{"error", result.error}, {"reports", reports}, {"text", VerificationText::text(result)}};
    const QByteArray text = QJsonDocument(output).toJson(QJsonDocument::Indented);
    const bool written = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
    return (written && std::fflush(stdout) == 0) ? status : 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption trust(QStringLiteral("trust"), QStringLiteral("PEM file of trust anchors."),
                                   QStringLiteral("pem"));
    const QCommandLineOption network(QStringLiteral("network"), QStringLiteral("Allow OCSP/CRL requests."));
    const QCommandLineOption allow(QStringLiteral("allow-private-host"),
                                   QStringLiteral("Host name that may reach a private address."),
                                   QStringLiteral("host"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Document password."),
                                      QStringLiteral("text"));
    parser.addOptions({trust, network, allow, password});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The PDF to verify."));
    if (!parser.parse(application.arguments()) || parser.positionalArguments().size() != 1) {
        SignatureReports usage;
        usage.error = QStringLiteral("Kullanım: velk-verify-run [--trust PEM] [--network] "
                                     "[--allow-private-host SUNUCU]... [--password METİN] DOSYA.pdf");
        return print(usage, 2);
    }

    const PdfOpenResult opened =
        openPdfDocument(parser.positionalArguments().constFirst(),
                        std::make_shared<SecretBytes>(SecretBytes::fromText(parser.value(password))), nullptr,
                        QStringLiteral(VELK_APP_DIR));
    if (!opened.document) {
        SignatureReports failed;
        failed.error = opened.error;
        return print(failed, 1);
    }
    VerificationOptions options;
    options.networkAllowed = parser.isSet(network);
    options.privateHostAllowList = parser.values(allow);
    options.applicationDirectory = QStringLiteral(VELK_APP_DIR);
    const SignatureReports result = verifySignatures(opened.document, parser.value(trust), nullptr, options);
    return print(result, result.error.isEmpty() ? 0 : 1);
}
