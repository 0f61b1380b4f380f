#pragma once

// "Hakkında": the program's name and version, a short licence summary and
// the third-party notices shipped beside the program (THIRD_PARTY_NOTICES
// in the application directory). Modal, opened by the main window (F1 or
// Yardım › "Hakkında"); GUI thread.

#include <QDialog>

class QPlainTextEdit;

namespace velk {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // noticesPath: the notices file; its text is shown read-only.
    explicit AboutDialog(const QString& noticesPath, QWidget* parent = nullptr);

    // The notices file of the running program.
    static QString installedNoticesPath();
    // The notices text, or the sentence saying why it cannot be shown.
    static QString readNotices(const QString& path);

    QPlainTextEdit* noticesView() const { return m_notices; }

    // The notices file is a few hundred KiB; anything far larger is not ours.
    static constexpr qint64 kMaxNoticesBytes = 4 * 1024 * 1024;

private:
    QPlainTextEdit* m_notices = nullptr;
};

} // namespace velk
