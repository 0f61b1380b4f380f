// Reading the worker's answer to a search: the page must be -1 or one of the
// document's pages, the snippet is kept to the length the worker sends, and
// a search without a document never reaches the worker.

#include "document/view/DocumentSearch.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

const QString kInvalid = QStringLiteral("PDF işleyicisi geçersiz yanıt verdi.");

} // namespace

class SearchReplyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageIsBoundedByTheDocument_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("snippet");
        QTest::addColumn<QString>("error");
        const QJsonValue text("bir abc iki");
        QTest::newRow("hit on the first page") << QJsonObject{{"page", 0}, {"snippet", text}} << 0 << "bir abc iki"
                                               << QString();
        QTest::newRow("hit on the last page") << QJsonObject{{"page", 5}, {"snippet", text}} << 5 << "bir abc iki"
                                              << QString();
        QTest::newRow("nothing found") << QJsonObject{{"page", -1}} << -1 << QString() << QString();
        QTest::newRow("page absent") << QJsonObject{{"ok", true}} << -1 << QString() << QString();
        QTest::newRow("hit without snippet") << QJsonObject{{"page", 2}} << 2 << QString() << QString();
        QTest::newRow("snippet not a string") << QJsonObject{{"page", 2}, {"snippet", 7}} << 2 << QString()
                                              << QString();
        QTest::newRow("page beyond the document") << QJsonObject{{"page", 6}} << -1 << QString() << kInvalid;
        QTest::newRow("page below -1") << QJsonObject{{"page", -2}} << -1 << QString() << kInvalid;
        QTest::newRow("fractional page") << QJsonObject{{"page", 1.5}} << -1 << QString() << kInvalid;
        QTest::newRow("page as text") << QJsonObject{{"page", "1"}} << -1 << QString() << kInvalid;
        QTest::newRow("page beyond int") << QJsonObject{{"page", 1e300}} << -1 << QString() << kInvalid;
        QTest::newRow("page null") << QJsonObject{{"page", QJsonValue::Null}} << -1 << QString() << kInvalid;
        QTest::newRow("page array") << QJsonObject{{"page", QJsonArray{1}}} << -1 << QString() << kInvalid;
    }

    void pageIsBoundedByTheDocument()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(int, page);
        QFETCH(QString, snippet);
        QFETCH(QString, error);
        const PdfSearchResult result = searchResultFromReply(reply, 6);
        QCOMPARE(result.page, page);
        QCOMPARE(result.snippet, snippet);
        QCOMPARE(result.error, error);
    }

    void snippetIsKeptToItsLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("kept");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("160") << 160 << 160;
        QTest::newRow("161") << 161 << 160;
        QTest::newRow("a million") << 1000000 << 160;
    }

    void snippetIsKeptToItsLength()
    {
        QFETCH(int, length);
        QFETCH(int, kept);
        const PdfSearchResult result =
            searchResultFromReply(QJsonObject{{"page", 0}, {"snippet", QString(length, QLatin1Char('s'))}}, 1);
        QCOMPARE(result.snippet.size(), kept);
    }

    void noDocumentNeverReachesTheWorker()
    {
        const PdfSearchResult result = searchDocument(nullptr, QStringLiteral("abc"), 0, nullptr);
        QCOMPARE(result.page, -1);
        QCOMPARE(result.error, QStringLiteral("Belge açık değil."));
    }
};

QTEST_APPLESS_MAIN(SearchReplyTest)
#include "SearchReplyTest.moc"
