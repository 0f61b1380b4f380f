#include "app/RecentDocumentsList.h"

#include <QApplication>
#include <QColor>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kVisibleRows = 5;
constexpr int kRowHeight = 52;

QString describe(const RecentFile& entry)
{
    const QFileInfo info(entry.path);
    QString text = info.fileName() + QLatin1Char('\n') + info.absolutePath();
    if (entry.openedAt.isValid())
        text += QStringLiteral(" · ") + QLocale().toString(entry.openedAt.toLocalTime(), QLocale::ShortFormat);
    return text;
}

} // namespace

RecentDocumentsList::RecentDocumentsList(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("recentDocuments"));
    setMaximumWidth(kMaximumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(8);
    auto* title = new QLabel(QStringLiteral("SON AÇILANLAR"), this);
    title->setObjectName(QStringLiteral("panelSection"));
    title->setTextFormat(Qt::PlainText);
    layout->addWidget(title);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("recentList"));
    m_list->setMaximumHeight(kVisibleRows * kRowHeight);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_list);
    // A click or, from the keyboard, Enter chooses a document.
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(item->data(kPathRole).toString()); });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(item->data(kPathRole).toString()); });
    hide();
}

void RecentDocumentsList::choose(const QString& path)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (path == m_lastChosen && now - m_lastChosenAt <= QApplication::doubleClickInterval())
        return;
    m_lastChosen = path;
    m_lastChosenAt = now;
    Q_EMIT documentChosen(path);
}

void RecentDocumentsList::setEntries(const QList<RecentFile>& entries)
{
    m_list->clear();
    for (const RecentFile& entry : entries) {
        auto* item = new QListWidgetItem(describe(entry), m_list);
        item->setData(kPathRole, entry.path);
        item->setToolTip(entry.path);
        if (!QFileInfo(entry.path).isFile()) {
            item->setForeground(QColor(QString::fromLatin1(kMissingColour)));
            item->setToolTip(QStringLiteral("Dosya bulunamadı: %1").arg(entry.path));
        }
    }
    setVisible(!entries.isEmpty());
}

} // namespace velk
