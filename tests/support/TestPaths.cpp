#include "TestPaths.h"

namespace velk::test {

QString applicationDirectory() { return QStringLiteral(VELK_APP_DIR); }
QString program(const QString& name) { return applicationDirectory() + QLatin1Char('/') + name; }
QString sourceDirectory() { return QStringLiteral(VELK_SOURCE_DIR); }
QString testBinaryDirectory() { return QStringLiteral(VELK_TEST_BIN_DIR); }

} // namespace velk::test
