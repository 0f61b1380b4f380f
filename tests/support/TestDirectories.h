#pragma once

// Directory chores the worker and operation tests share.

#include <QString>
#include <QStringList>

namespace velk::test {

// Names of every entry in directory, hidden ones included.
QStringList entriesIn(const QString& directory);

// A not yet existing file named fileName inside a fresh directory
// "out<N>" below root (N counts up in counter): each output directory, the
// only one the worker may write, starts empty.
QString freshOutputIn(const QString& root, int& counter, const QString& fileName);

} // namespace velk::test
