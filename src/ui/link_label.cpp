#include "ui/link_label.h"

#include "ui/accessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace kestrix::ui {

LinkLabel::LinkLabel(QWidget* parent, const QString& caption, const QColor& colour)
    : CaptionLabel(parent, caption, Qt::AlignLeft) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setForeColor(colour);
    ensureAccessibleInterfaces();
}

void LinkLabel::setForeColor(const QColor& colour) {
    QPalette colours = palette();
    // A label may paint its text in either role, depending on how it lays the text out.
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::WindowText, colour);
        colours.setColor(group, QPalette::Text, colour);
    }
    setPalette(colours);
}

QColor LinkLabel::foreColor() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void LinkLabel::click() {
    if (isEnabled()) {
        emit clicked();
    }
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    CaptionLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        click();
    }
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        click();
        return;
    }
    CaptionLabel::keyPressEvent(event);
}

// A label draws no focus; a link reached with Tab shows it as a button does.
void LinkLabel::paintEvent(QPaintEvent* event) {
    CaptionLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace kestrix::ui
