// The checks made on a listed signature against the document's bytes
// before any cryptography: byte range and filter, the /Contents hex, the
// declared signing time; and the ordering rules of the document-time-stamp
// chain. Pure: no worker, no files.

#include "signing/verification/SignatureEntryCheck.h"
#include "signing/verification/TimestampChain.h"

#include <QTest>

using namespace velk;

Q_DECLARE_METATYPE(QList<qint64>)

namespace {

// "%PDF" + "<" + gap hex + ">" + tail: a = 4.
QByteArray fileWithGap(const QByteArray& hex, const QByteArray& tail = "tail")
{
    return "%PDF<" + hex + '>' + tail;
}

SignatureEntry entryFor(const QByteArray& file, qint64 gap, const QString& filter = QStringLiteral("ETSI.CAdES.detached"))
{
    SignatureEntry entry;
    entry.range = {0, 4, 4 + gap, file.size() - 4 - gap};
    entry.filter = filter;
    return entry;
}

SignatureReport stamp(qint64 covered, const QString& time, int historical = kStatusGood)
{
    SignatureReport report;
    report.isDocumentTimestamp = true;
    report.integrityValid = true;
    report.historicalStatus = historical;
    report.timestampTime = time;
    report.coveredLength = covered;
    return report;
}

} // namespace

class SignatureEntryCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void range_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<qint64>>("range");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("valid");
        const QByteArray small = fileWithGap("00ff");
        const qint64 size = small.size();
        QTest::newRow("valid") << small << QList<qint64>{0, 4, 10, size - 10} << "ETSI.CAdES.detached" << true;
        QTest::newRow("adbe") << small << QList<qint64>{0, 4, 10, size - 10} << "adbe.pkcs7.detached" << true;
        QTest::newRow("time stamp") << small << QList<qint64>{0, 4, 10, size - 10} << "ETSI.RFC3161" << true;
        QTest::newRow("unknown filter") << small << QList<qint64>{0, 4, 10, size - 10} << "ETSI.CAdES.detachedX"
                                        << false;
        QTest::newRow("first element 5") << small << QList<qint64>{5, 4, 10, size - 10} << "ETSI.CAdES.detached"
                                         << false;
        QTest::newRow("three entries") << small << QList<qint64>{0, 4, 10} << "ETSI.CAdES.detached" << false;
        QTest::newRow("gap not at <") << small << QList<qint64>{0, 3, 10, size - 10} << "ETSI.CAdES.detached"
                                      << false;
        QTest::newRow("gap not ending at >") << small << QList<qint64>{0, 4, 9, size - 9} << "ETSI.CAdES.detached"
                                             << false;
        QTest::newRow("a zero") << small << QList<qint64>{0, 0, 10, size - 10} << "ETSI.CAdES.detached" << false;
        QTest::newRow("b before a") << small << QList<qint64>{0, 10, 4, 0} << "ETSI.CAdES.detached" << false;
        QTest::newRow("negative tail") << small << QList<qint64>{0, 4, 10, -1} << "ETSI.CAdES.detached" << false;
        QTest::newRow("tail past the end") << small << QList<qint64>{0, 4, 10, size - 9} << "ETSI.CAdES.detached"
                                           << false;
        QTest::newRow("b past the end") << small << QList<qint64>{0, 4, size + 1, 0} << "ETSI.CAdES.detached"
                                        << false;
        QTest::newRow("huge tail") << small << QList<qint64>{0, 4, 10, std::numeric_limits<qint64>::max()}
                                   << "ETSI.CAdES.detached" << false;
        const QByteArray largest = fileWithGap(QByteArray(131072, '0'));
        QTest::newRow("gap of 131,074") << largest << QList<qint64>{0, 4, 4 + 131074, 4} << "ETSI.CAdES.detached"
                                        << true;
        const QByteArray larger = fileWithGap(QByteArray(131073, '0'));
        QTest::newRow("gap of 131,075") << larger << QList<qint64>{0, 4, 4 + 131075, 4} << "ETSI.CAdES.detached"
                                        << false;
    }

    void range()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<qint64>, range);
        QFETCH(QString, filter);
        QFETCH(bool, valid);
        SignatureEntry entry;
        entry.range = range;
        entry.filter = filter;
        QCOMPARE(SignatureEntryCheck::checkRange(entry, file).has_value(), valid);
    }

    void contents_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QByteArray>("listed");
        QTest::addColumn<bool>("match");
        QTest::newRow("plain") << QByteArray("30820001") << QByteArray::fromHex("30820001") << true;
        QTest::newRow("upper case and zero fill") << QByteArray("30AB0000") << QByteArray::fromHex("30ab0000") << true;
        QTest::newRow("white space and NUL")
            << QByteArray("30 8\t2\n00\r\f01", 13) + QByteArray(1, '\0') << QByteArray::fromHex("30820001") << true;
        QTest::newRow("vertical tab") << QByteArray("3082\v0001") << QByteArray::fromHex("30820001") << false;
        QTest::newRow("letter g") << QByteArray("3082g0001") << QByteArray::fromHex("30820001") << false;
        QTest::newRow("odd digits") << QByteArray("308200010") << QByteArray::fromHex("30820001") << false;
        QTest::newRow("differs from the listing") << QByteArray("30820002") << QByteArray::fromHex("30820001")
                                                  << false;
        QTest::newRow("listing longer") << QByteArray("3082") << QByteArray::fromHex("30820001") << false;
    }

    void contents()
    {
        QFETCH(QByteArray, hex);
        QFETCH(QByteArray, listed);
        QFETCH(bool, match);
        const QByteArray file = fileWithGap(hex);
        const std::optional<SignedRange> range = SignatureEntryCheck::checkRange(entryFor(file, hex.size() + 2), file);
        QVERIFY(range);
        QCOMPARE(SignatureEntryCheck::contentsMatch(file, *range, listed), match);
    }

    void declaredTime_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("declared");
        QTest::newRow("UTC") << "D:20240131123456Z" << "2024-01-31T12:34:56Z";
        QTest::newRow("offset") << "D:20240131123456+03'00'" << "D:20240131123456+03'00'";
        QTest::newRow("impossible date") << "D:20240231123456Z" << "D:20240231123456Z";
        QTest::newRow("letters") << "D:2024013112345xZ" << "D:2024013112345xZ";
        QTest::newRow("empty") << "" << "";
    }

    void declaredTime()
    {
        QFETCH(QString, time);
        QFETCH(QString, declared);
        QCOMPARE(SignatureEntryCheck::declaredTime(time), declared);
    }

    void timestampChain_data()
    {
        QTest::addColumn<QList<SignatureReport>>("stamps");
        QTest::addColumn<QList<bool>>("covered");
        const QString t1 = QStringLiteral("2026-12-11T10:00:00Z");
        const QString t2 = QStringLiteral("2026-12-11T11:00:00Z");
        QTest::newRow("increasing") << QList<SignatureReport>{stamp(100, t1), stamp(200, t2)}
                                    << QList<bool>{true, true};
        QTest::newRow("listed out of order")
            << QList<SignatureReport>{stamp(200, t2), stamp(100, t1)} << QList<bool>{true, true};
        QTest::newRow("same covered length") << QList<SignatureReport>{stamp(100, t1), stamp(100, t2)}
                                             << QList<bool>{true, false};
        QTest::newRow("time going back") << QList<SignatureReport>{stamp(100, t2), stamp(200, t1)}
                                         << QList<bool>{true, false};
        QTest::newRow("first undetermined")
            << QList<SignatureReport>{stamp(100, t1, kStatusUndetermined), stamp(200, t2)}
            << QList<bool>{false, false};
        QTest::newRow("unreadable time") << QList<SignatureReport>{stamp(100, QStringLiteral("dün"))}
                                         << QList<bool>{false};
    }

    void timestampChain()
    {
        QFETCH(QList<SignatureReport>, stamps);
        QFETCH(QList<bool>, covered);
        TimestampChain::judgeTimestampChain(stamps, stamps, QString());
        for (int i = 0; i < stamps.size(); ++i) {
            QCOMPARE(stamps.at(i).archiveCovered, covered.at(i));
            QCOMPARE(stamps.at(i).archiveText,
                     covered.at(i) ? QStringLiteral("DocTimeStamp zinciri GEÇERLİ; önceki revizyonlar ve kanıt "
                                                    "baytları kapsanıyor.")
                                   : QStringLiteral("DocTimeStamp zinciri BELİRSİZ: sıra, bütünlük veya tarihsel TSA "
                                                    "kanıtı eksik."));
        }
    }
};

QTEST_GUILESS_MAIN(SignatureEntryCheckTest)
#include "SignatureEntryCheckTest.moc"
