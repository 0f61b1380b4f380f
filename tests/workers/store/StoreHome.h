#pragma once

// A fresh per-user data directory for the secure store under test: the real
// program runs with XDG_DATA_HOME pointing here, so every test starts from
// an empty store and never touches the user's own. Also lays out and reads
// back the files the store keeps, for tests that damage them.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace velk::test {

struct StoreRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
    // The store writes no diagnostics: this stays empty.
    QByteArray errorOutput;
    QJsonObject reply() const;
    QString error() const { return reply().value(QStringLiteral("error")).toString(); }
};

QByteArray storeRequest(const QString& operation, const QString& account);
QByteArray writeRequest(const QString& account, const QJsonObject& record);

class StoreHome {
public:
    StoreHome();

    bool isValid() const { return m_dir.isValid(); }
    QString dataHome() const { return m_dir.path(); }
    QString storeDirectory() const;
    QString keyPath() const;
    // Computed here, apart from the store: SHA-256 hex of the account.
    QString recordPath(const QString& account) const;

    // Runs the store once; childSetup runs in the child before it starts.
    StoreRun run(const QByteArray& input, const std::function<void()>& childSetup = {}) const;
    StoreRun read(const QString& account) const { return run(storeRequest(QStringLiteral("read"), account)); }
    StoreRun write(const QString& account, const QJsonObject& record) const { return run(writeRequest(account, record)); }
    StoreRun clear(const QString& account) const { return run(storeRequest(QStringLiteral("clear"), account)); }

    // Starts one store per input, all waiting on their input, then feeds
    // them all at once so that they race.
    QList<StoreRun> runAtOnce(const QList<QByteArray>& inputs) const;

    // Every entry under the data home: its kind, mode and owner, and for a
    // regular file its bytes (a FIFO is never opened).
    QMap<QString, QByteArray> snapshot() const;

private:
    QProcessEnvironment environment() const;

    QTemporaryDir m_dir;
};

} // namespace velk::test
