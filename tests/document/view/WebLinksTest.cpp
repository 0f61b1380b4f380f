// Which web addresses a link may offer, and that nothing is handed to the
// desktop without a yes.

#include "document/view/WebLinks.h"

#include <QTest>
#include <QUrl>

using namespace velk;

class WebLinksTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offered_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<bool>("offered");
        QTest::newRow("https") << "https://example.org/a?b=1" << true;
        QTest::newRow("http, capitals") << "HTTP://example.org/" << true;
        QTest::newRow("mailto") << "mailto:destek@example.org" << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("ftp") << "ftp://example.org/" << false;
        QTest::newRow("no scheme") << "example.org" << false;
        QTest::newRow("control character") << QStringLiteral("https://a.org/\u0001") << false;
        QTest::newRow("2,048 characters") << QStringLiteral("https://a.org/") + QString(2048 - 14, 'a') << true;
        QTest::newRow("2,049 characters") << QStringLiteral("https://a.org/") + QString(2049 - 14, 'a') << false;
    }

    void offered()
    {
        QFETCH(QString, uri);
        QFETCH(bool, offered);
        QCOMPARE(WebLinks::isOffered(uri), offered);
    }

    void opensOnlyAfterYes_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }

    void opensOnlyAfterYes()
    {
        QFETCH(bool, answer);
        QStringList asked;
        QList<QUrl> opened;
        TabPrompts prompts;
        prompts.confirm = [&](QWidget*, const QString& question) {
            asked.append(question);
            return answer;
        };
        prompts.openUrl = [&](const QUrl& url) {
            opened.append(url);
            return true;
        };
        QCOMPARE(WebLinks::open(nullptr, QStringLiteral("mailto:a@example.org"), prompts), QString());
        QCOMPARE(asked, QStringList{QStringLiteral("Bu bağlantı tarayıcıda açılsın mı? mailto:a@example.org")});
        QCOMPARE(opened.size(), answer ? 1 : 0);

        prompts.openUrl = [](const QUrl&) { return false; };
        if (answer)
            QCOMPARE(WebLinks::open(nullptr, QStringLiteral("https://a.org/"), prompts), QStringLiteral("Bağlantı açılamadı."));
    }
};

QTEST_GUILESS_MAIN(WebLinksTest)
#include "WebLinksTest.moc"
