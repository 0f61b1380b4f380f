#include "signing/ui/SignatureNotice.h"

#include <QLabel>

namespace velk {

QLabel* createSignatureNotice(QWidget* parent)
{
    const QString address = QStringLiteral(VELK_SUPPORT_ADDRESS).toHtmlEscaped();
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("signatureNotice"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    label->setStyleSheet(QStringLiteral("QLabel { background: #FFFBEB; color: #78350F; border: 1px solid #FDE68A; "
                                        "padding: 10px 12px; font-family: Roboto; font-weight: 600; }"));
    label->setText(QStringLiteral("Bu özellik geliştirilmektedir, sorun yaşanması halinde ekran görüntüsü ile "
                                  "bizimle iletişime geçin: <a style=\"color: #92400E;\" href=\"mailto:%1\">%1</a>")
                       .arg(address));
    return label;
}

} // namespace velk
