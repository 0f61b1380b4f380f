#include "edit/TextLines.h"

#include "edit/EditLimits.h"

#include "worker/contract/operations/InsertionContract.h"

namespace velk::TextLines {

bool isUsable(const QString& text)
{
    return InsertionRequest::isUsableText(text);
}

QStringList split(const QString& text)
{
    return text.split(QChar(u'\n'), Qt::KeepEmptyParts);
}

double offset(int index, float size)
{
    // The single-precision product is part of where the lines land.
    const float product = float(index) * size;
    return double(product) * EditLimits::kLineSpacing;
}

} // namespace velk::TextLines
