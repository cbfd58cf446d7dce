#pragma once

#include "ui/caption_label.h"

#include <QColor>

namespace kestrix::ui {

// A label that acts as a link: sized to its caption, underlined, a pointing hand, and a
// click (or Enter or Space while it has the focus, or the press action of assistive
// technology) raises clicked. A disabled link raises nothing.
class LinkLabel : public CaptionLabel {
    Q_OBJECT
public:
    LinkLabel(QWidget* parent, const QString& caption, const QColor& colour);

    // The text colour, kept the same whether the link is enabled or not.
    void setForeColor(const QColor& colour);
    [[nodiscard]] QColor foreColor() const;

    // What a click does; nothing while the link is disabled.
    void click();

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrix::ui
