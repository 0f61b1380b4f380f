#include "IndependentJudges.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

namespace velk::test {

namespace {

// Standard output of a tool that exited 0, else a null array.
QByteArray runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    QByteArray output = process.readAllStandardOutput();
    return output.isNull() ? QByteArray("") : output;
}

QStringList pageRange(int page)
{
    return {QStringLiteral("-f"), QString::number(page + 1), QStringLiteral("-l"), QString::number(page + 1)};
}

QString unescapeHtml(QString text)
{
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QJsonObject resolve(const QJsonObject& objects, const QJsonValue& value)
{
    if (value.isObject())
        return value.toObject();
    return objects.value(QStringLiteral("obj:") + value.toString())
        .toObject()
        .value(QStringLiteral("value"))
        .toObject();
}

} // namespace

QString popplerText(const QString& path, int page)
{
    const QByteArray output = runTool(
        QStringLiteral("pdftotext"),
        pageRange(page) + QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (output.isNull())
        return {};
    return QString::fromUtf8(output).remove(QChar(u'\f')).trimmed();
}

QList<PopplerWord> popplerWords(const QString& path, int page)
{
    const QByteArray output = runTool(QStringLiteral("pdftotext"),
                                      pageRange(page)
                                          + QStringList{QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                                        QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    QList<PopplerWord> words;
    for (const QRegularExpressionMatch& match : word.globalMatch(QString::fromUtf8(output))) {
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        words << PopplerWord{unescapeHtml(match.captured(5)), QRectF(topLeft, bottomRight)};
    }
    return words;
}

QList<QJsonObject> qpdfAnnotations(const QString& path, int page)
{
    const QByteArray output = runTool(
        QStringLiteral("qpdf"),
        {QStringLiteral("--json=2"), QStringLiteral("--json-key=pages"), QStringLiteral("--json-key=qpdf"), path});
    const QJsonObject json = QJsonDocument::fromJson(output).object();
    const QJsonObject objects = json.value(QStringLiteral("qpdf")).toArray().at(1).toObject();
    const QJsonValue pageReference =
        json.value(QStringLiteral("pages")).toArray().at(page).toObject().value(QStringLiteral("object"));
    const QJsonObject pageDictionary = resolve(objects, pageReference);
    const QJsonValue annots = pageDictionary.value(QStringLiteral("/Annots"));
    const QJsonArray list = annots.isArray()
        ? annots.toArray()
        : objects.value(QStringLiteral("obj:") + annots.toString()).toObject().value(QStringLiteral("value")).toArray();
    QList<QJsonObject> annotations;
    for (const QJsonValue& annotation : list)
        annotations << resolve(objects, annotation);
    return annotations;
}

QList<double> numbers(const QJsonValue& array)
{
    QList<double> values;
    for (const QJsonValue& value : array.toArray())
        values << value.toDouble();
    return values;
}

bool nearlyEqual(const QList<double>& actual, const QList<double>& expected, double tolerance)
{
    if (actual.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (qAbs(actual.at(i) - expected.at(i)) > tolerance)
            return false;
    }
    return true;
}

QString listed(const QList<double>& values)
{
    QStringList texts;
    for (const double value : values)
        texts << QString::number(value);
    return texts.join(u' ');
}

} // namespace velk::test
