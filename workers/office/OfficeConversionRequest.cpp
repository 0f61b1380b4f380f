#include "office/OfficeConversionRequest.h"

#include "worker/contract/WorkerContract.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace velk {

bool OfficeConversionRequest::isAcceptable(const QString& path, const QString& output)
{
    static const QStringList suffixes{QStringLiteral("docx"), QStringLiteral("doc"),
                                      QStringLiteral("odt"), QStringLiteral("rtf")};
    if (path.isEmpty() || output.isEmpty())
        return false;
    const QFileInfo input(path);
    if (!input.exists() || !input.isFile() || input.size() > kMaxDocumentBytes)
        return false;
    if (QDir::isRelativePath(output))
        return false;
    const QFileInfo target(output);
    // exists() follows links; a dangling link still occupies the name.
    if (target.exists() || target.isSymLink())
        return false;
    if (input.absolutePath() != target.absolutePath())
        return false;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : path.mid(dot + 1).toLower();
    return suffixes.contains(suffix);
}

QJsonObject OfficeConversionRequest::answer(const QJsonObject& request)
{
    const QString path = request.value(QStringLiteral("path")).toString();
    const QString output = request.value(QStringLiteral("output")).toString();
    if (!isAcceptable(path, output))
        return WorkerContract::errorReply(QStringLiteral("Dönüştürülecek belge veya çalışma alanı geçersiz."));
    return WorkerContract::errorReply(
        QStringLiteral("Bu derlemede yalıtılmış LibreOffice Writer dönüştürücü kullanılamıyor."));
}

} // namespace velk
