#include "ui/caption_label.h"

#include "ui/accessibility.h"
#include "ui/twips.h"

#include <algorithm>

namespace kestrix::ui {

CaptionLabel::CaptionLabel(QWidget* parent, const QString& caption, Qt::Alignment alignment)
    : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(alignment | Qt::AlignVCenter);
    // Opaque, so a new caption repaints the label alone and not the frame behind it.
    setAutoFillBackground(true);
}

void CaptionLabel::placeAt(int left, int top, int width, int height, int roomLeft, int roomRight) {
    const QRect design = twipsRect(left, top, width, height);
    anchor_ = (alignment() & Qt::AlignRight) ? design.right() + 1 : design.left();
    roomLeft_ = roomLeft;
    roomRight_ = roomRight;
    setGeometry(design);
    fitToCaption();
}

void CaptionLabel::setText(const QString& text) {
    QLabel::setText(text);
    fitToCaption();
}

void CaptionLabel::fitToCaption() {
    const int wanted = fontMetrics().horizontalAdvance(text()) + 2 * margin();
    int left = (alignment() & Qt::AlignRight) ? anchor_ - wanted : anchor_;
    left = std::clamp(left, roomLeft_, std::max(roomLeft_, roomRight_ - wanted));
    const int right = std::min(left + wanted, roomRight_);
    setGeometry(left, y(), std::max(1, right - left), height());
}

FigureLabel::FigureLabel(QWidget* parent, const QString& figure, const QLabel* caption)
    : CaptionLabel(parent, figure, Qt::AlignRight), caption_(caption) {
    ensureAccessibleInterfaces();
}

QString FigureLabel::spokenText() const {
    return caption_->text() + u' ' + text();
}

}  // namespace kestrix::ui
