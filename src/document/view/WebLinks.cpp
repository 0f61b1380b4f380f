#include "document/view/WebLinks.h"

#include "worker/contract/operations/LinksContract.h"

#include <QUrl>

namespace velk {

bool WebLinks::isOffered(const QString& uri)
{
    if (!LinksReply::isOfferedUri(uri))
        return false;
    const QUrl url(uri, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")
                             || scheme == QLatin1String("mailto"));
}

QString WebLinks::open(QWidget* parent, const QString& uri, const TabPrompts& prompts)
{
    if (!isOffered(uri))
        return QStringLiteral("Bu bağlantı açılmaz: yalnızca http, https ve mailto bağlantıları açılır.");
    if (!prompts.confirm || !prompts.confirm(parent, QStringLiteral("Bu bağlantı tarayıcıda açılsın mı? %1").arg(uri)))
        return QString();
    if (!prompts.openUrl || !prompts.openUrl(QUrl(uri, QUrl::StrictMode)))
        return QStringLiteral("Bağlantı açılamadı.");
    return QString();
}

} // namespace velk
