#pragma once

// The shared state of one signing or verification run's evidence requests:
// whether the network may be used, which host names may reach private
// addresses, and the run's budget of time and requests. Passed by reference
// to every request of the run; used by one thread at a time. The resolver is
// replaceable so tests can answer names with chosen addresses.

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace velk {

// Resolves a host name within the given time; an empty list when there is no answer.
using HostResolver = std::function<QList<QHostAddress>(const QString& host, int timeoutMs)>;

struct EvidenceFetchContext {
    EvidenceFetchContext() { elapsed.start(); }

    bool networkAllowed = false;
    QStringList privateHostAllowList;
    std::shared_ptr<std::atomic<bool>> cancelled;
    QElapsedTimer elapsed;
    int requestCount = 0;
    HostResolver resolver; // empty: the system resolver

    bool isCancelled() const { return cancelled != nullptr && cancelled->load(); }
};

} // namespace velk
