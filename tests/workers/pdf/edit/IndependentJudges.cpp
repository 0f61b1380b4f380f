#include "IndependentJudges.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

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
