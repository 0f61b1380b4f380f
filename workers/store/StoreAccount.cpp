#include "store/StoreAccount.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace velk {

namespace {

// Anchored as a whole: with "^...$" alone, '$' also matches before a final
// line feed, and "test-abcdefgh\n" would pass.
const QRegularExpression& accountPattern()
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("(?:update-)?Velk-HW-[A-Z0-9]{4}-[A-Z0-9]{4}|test-[A-Za-z0-9-]{8,80}")));
    return pattern;
}

} // namespace

bool StoreAccount::isValid(const QString& account)
{
    return !account.isEmpty() && accountPattern().match(account).hasMatch();
}

QString StoreAccount::recordFileName(const QString& account)
{
    const QByteArray digest = QCryptographicHash::hash(account.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex()) + QStringLiteral(".sealed");
}

} // namespace velk
