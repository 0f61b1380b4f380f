#include "edit/EmbeddedFont.h"

#include <QFile>

namespace velk::EmbeddedFont {

namespace {

const char kResourcePath[] = ":/fonts/Roboto-Bold.ttf";
// The real file is about 300 KB; anything far beyond it is not our font.
constexpr qint64 kMaxFontBytes = 16 * 1024 * 1024;

} // namespace

QByteArray read()
{
    QFile file(QString::fromLatin1(kResourcePath));
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxFontBytes)
        return {};
    QByteArray data = file.readAll();
    return data.size() == file.size() ? data : QByteArray();
}

FontHandle load(const Pdfium& pdfium, FPDF_DOCUMENT document, const QByteArray& data)
{
    if (data.isEmpty() || data.size() > kMaxFontBytes)
        return wrapFont(pdfium, nullptr);
    return wrapFont(pdfium,
                    pdfium.api().FPDFText_LoadFont(document, reinterpret_cast<const std::uint8_t*>(data.constData()),
                                                   std::uint32_t(data.size()), kFpdfFontTrueType, 1));
}

} // namespace velk::EmbeddedFont
