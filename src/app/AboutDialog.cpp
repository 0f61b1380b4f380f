#include "app/AboutDialog.h"

#include "app/AppIdentity.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kDialogWidth = 680;
constexpr int kDialogHeight = 560;

QLabel* makeLabel(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutDialog::AboutDialog(const QString& noticesPath, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Velk PDF hakkında"));
    resize(kDialogWidth, kDialogHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addWidget(makeLabel(QString::fromUtf8(kApplicationName), QStringLiteral("dialogTitle"), this));
    layout->addWidget(makeLabel(QStringLiteral("Sürüm %1").arg(QString::fromUtf8(kApplicationVersion)),
                                QStringLiteral("dialogSubtitle"), this));
    layout->addWidget(makeLabel(
        QStringLiteral("© 2026 Velk. Velk PDF bu paketle dağıtıldığı biçimde kurulup kullanılabilir. "
                       "Birlikte gelen bileşenler (PDFium, qpdf, Tesseract, Qt, OpenSSL, Roboto) kendi "
                       "lisanslarına tabidir; bildirimleri ve lisans metinleri aşağıdadır."),
        QStringLiteral("secondaryText"), this));
    layout->addWidget(makeLabel(QStringLiteral("ÜÇÜNCÜ TARAF BİLDİRİMLERİ"), QStringLiteral("sectionTitle"), this));
    m_notices = new QPlainTextEdit(this);
    m_notices->setObjectName(QStringLiteral("thirdPartyNotices"));
    m_notices->setReadOnly(true);
    m_notices->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_notices->setPlainText(readNotices(noticesPath));
    layout->addWidget(m_notices, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString AboutDialog::installedNoticesPath()
{
    return QApplication::applicationDirPath() + QStringLiteral("/THIRD_PARTY_NOTICES");
}

QString AboutDialog::readNotices(const QString& path)
{
    QFile file(path);
    const QString missing = QStringLiteral("Üçüncü taraf bildirimleri okunamadı: %1").arg(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxNoticesBytes)
        return missing;
    const QByteArray bytes = file.read(kMaxNoticesBytes + 1);
    if (bytes.isEmpty() || bytes.size() > kMaxNoticesBytes)
        return missing;
    return QString::fromUtf8(bytes);
}

} // namespace velk
