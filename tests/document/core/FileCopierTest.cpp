// The one chunked file copy: whole files up to the bound (exactly the bound
// included) across chunk edges, nothing beyond the bound written, and a
// set flag stopping the copy before the first chunk.

#include "document/core/FileCopier.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

using namespace velk;

class FileCopierTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString written(const QString& name, qint64 size)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        QByteArray bytes(size, '\0');
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + 3);
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void copies_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<qint64>("copied");

        constexpr qint64 chunk = FileCopier::kChunkBytes;
        const int copiedOutcome = int(FileCopier::Outcome::Copied);
        const int tooLarge = int(FileCopier::Outcome::TooLarge);
        QTest::newRow("empty") << qint64(0) << qint64(10) << copiedOutcome << qint64(0);
        QTest::newRow("small") << qint64(5) << qint64(10) << copiedOutcome << qint64(5);
        QTest::newRow("exactly the bound") << qint64(10) << qint64(10) << copiedOutcome << qint64(10);
        QTest::newRow("one byte over") << qint64(11) << qint64(10) << tooLarge << qint64(0);
        QTest::newRow("two chunks and a byte") << 2 * chunk + 1 << 3 * chunk << copiedOutcome << 2 * chunk + 1;
        QTest::newRow("over in the second chunk") << 2 * chunk << chunk + 1 << tooLarge << chunk;
    }

    void copies()
    {
        QFETCH(qint64, size);
        QFETCH(qint64, maxBytes);
        QFETCH(int, outcome);
        QFETCH(qint64, copied);
        const QString path = written(QStringLiteral("%1.bin").arg(QTest::currentDataTag()), size);
        QFile in(path);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QBuffer out;
        QVERIFY(out.open(QIODevice::WriteOnly));
        qint64 count = -1;
        QCOMPARE(int(FileCopier::copy(in, out, maxBytes, nullptr, count)), outcome);
        QCOMPARE(count, copied);
        QCOMPARE(out.data().size(), copied);
        in.seek(0);
        QCOMPARE(out.data(), in.read(copied));
    }

    void cancelledBeforeTheFirstChunk()
    {
        QFile in(written(QStringLiteral("cancelled.bin"), 100));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QBuffer out;
        QVERIFY(out.open(QIODevice::WriteOnly));
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(true);
        qint64 count = -1;
        QCOMPARE(FileCopier::copy(in, out, 1000, cancel, count), FileCopier::Outcome::Cancelled);
        QCOMPARE(count, 0);
        QVERIFY(out.data().isEmpty());
    }

    void shortWriteStops()
    {
        QFile in(written(QStringLiteral("short.bin"), 100));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QBuffer closed;
        qint64 count = -1;
        QCOMPARE(FileCopier::copy(in, closed, 1000, nullptr, count), FileCopier::Outcome::WriteFailed);
        QCOMPARE(count, 0);
    }
};

QTEST_GUILESS_MAIN(FileCopierTest)
#include "FileCopierTest.moc"
