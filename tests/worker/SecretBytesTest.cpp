// Secrets are wiped where they lived: the buffer a SecretBytes held is
// zero after it goes, and taking bytes in wipes the buffer they came from.

#include "worker/contract/SecretBytes.h"
#include "worker/contract/SecureWipe.h"

#include <QTest>

#include <cstring>

using namespace velk;

class SecretBytesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void takingBytesWipesTheirSource()
    {
        QByteArray source("1234", 4);
        const char* sourceData = source.constData();
        SecretBytes secret(std::move(source));
        QCOMPARE(secret.bytes(), QByteArray("1234"));
        // The source buffer is the caller's only copy and is wiped before
        // being released; the secret holds its own.
        QVERIFY(sourceData != secret.data());
        QVERIFY(source.isEmpty());
    }

    void sharedSourceIsLeftToItsOtherHolder()
    {
        QByteArray other("abcd");
        QByteArray shared = other;
        SecretBytes secret(std::move(shared));
        QCOMPARE(secret.bytes(), QByteArray("abcd"));
        QCOMPARE(other, QByteArray("abcd"));
    }

    void sharedHoldersSeeOneBuffer()
    {
        SecretBytesPtr first = makeSecretBytes(QByteArray("987654"));
        SecretBytesPtr second = first;
        const char* data = first->data();
        const qsizetype size = first->size();
        first.reset();
        QCOMPARE(QByteArray(data, size), QByteArray("987654"));
        second->clear();
        QVERIFY(second->isEmpty());
    }

    void clearZeroesInPlace()
    {
        // The routine clear() uses, on a buffer that stays readable after.
        QByteArray copy("secret");
        char* data = copy.data();
        secureWipe(copy);
        QCOMPARE(QByteArray(data, 6), QByteArray(6, '\0'));
    }

    void movedFromIsEmpty()
    {
        SecretBytes first(QByteArray("pin"));
        SecretBytes second(std::move(first));
        QVERIFY(first.isEmpty());
        QCOMPARE(second.bytes(), QByteArray("pin"));
        SecretBytes third;
        third = std::move(second);
        QVERIFY(second.isEmpty());
        QCOMPARE(third.bytes(), QByteArray("pin"));
    }

    void textIsWipedInPlace()
    {
        // Typed text owns its buffer; a literal's static bytes would be
        // copied on the first write and could not be wiped in place.
        QString text = QString::fromUtf8("şifre");
        const QChar* data = text.constData();
        secureWipe(text);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(data[i].unicode(), char16_t(0));
    }
};

QTEST_GUILESS_MAIN(SecretBytesTest)
#include "SecretBytesTest.moc"
