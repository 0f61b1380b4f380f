#include "support/PopplerText.h"

#include <QProcess>
#include <QRegularExpression>

namespace velk::test {

namespace {

constexpr int kToolWaitMs = 20000;

QByteArray runPdftotext(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(kToolWaitMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    const QByteArray output = process.readAllStandardOutput();
    return output.isNull() ? QByteArray("") : output; // null only on failure
}

QString unescaped(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

QString popplerText(const QString& pdfPath, int page)
{
    const QString number = QString::number(page + 1);
    const QByteArray output = runPdftotext({QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                                            QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath,
                                            QStringLiteral("-")});
    if (output.isNull())
        return {};
    return QString::fromUtf8(output).remove(QChar(u'\f')).trimmed();
}

QList<PopplerWord> popplerWords(const QString& pdfPath, int page)
{
    const QString number = QString::number(page + 1);
    const QString html = QString::fromUtf8(runPdftotext(
        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-bbox"), QStringLiteral("-f"), number,
         QStringLiteral("-l"), number, pdfPath, QStringLiteral("-")}));
    static const QRegularExpression kWord(QStringLiteral(
        "<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" xMax=\"([-\\d.]+)\" yMax=\"([-\\d.]+)\">([^<]*)</word>"));
    QList<PopplerWord> words;
    for (auto match = kWord.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch word = match.next();
        const QPointF topLeft(word.captured(1).toDouble(), word.captured(2).toDouble());
        const QPointF bottomRight(word.captured(3).toDouble(), word.captured(4).toDouble());
        words.append(PopplerWord{unescaped(word.captured(5)), QRectF(topLeft, bottomRight)});
    }
    return words;
}

QString popplerAreaText(const QString& pdfPath, int page, const QRect& area)
{
    const QString number = QString::number(page + 1);
    QString text = QString::fromUtf8(runPdftotext(
        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-r"), QStringLiteral("72"),
         QStringLiteral("-x"), QString::number(area.x()), QStringLiteral("-y"), QString::number(area.y()),
         QStringLiteral("-W"), QString::number(area.width()), QStringLiteral("-H"), QString::number(area.height()),
         QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdfPath, QStringLiteral("-")}));
    if (text.endsWith(QLatin1Char('\f')))
        text.chop(1);
    return text;
}

} // namespace velk::test
