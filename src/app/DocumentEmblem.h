#pragma once

// The painted document emblem of the start page: a grey page with a folded
// corner, two text lines and a red "PDF" label. GUI thread; owned by its
// parent.

#include <QWidget>

namespace velk {

class DocumentEmblem : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 128;
    static constexpr int kHeight = 142;

    explicit DocumentEmblem(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace velk
