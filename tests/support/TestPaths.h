#pragma once

// Where the tests find the built programs and the sources.

#include <QString>

namespace velk::test {

QString applicationDirectory();
QString program(const QString& name);
QString sourceDirectory();
QString testBinaryDirectory();

} // namespace velk::test
