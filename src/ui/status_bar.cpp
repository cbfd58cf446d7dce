#include "ui/status_bar.h"

#include "ui/accessibility.h"
#include "ui/twips.h"

namespace kestrix::ui {

StatusBar::StatusBar(QWidget* parent, const std::vector<int>& widthsInTwips, int panelCount)
    : QFrame(parent), widthsInTwips_(widthsInTwips) {
    ensureAccessibleInterfaces();
    for (int i = 0; i < panelCount; ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        // The text is what assistive technology reads, and hears anew when it changes.
        label->setAccessibleDescription(QStringLiteral("Status panel %1").arg(i + 1));
        panels_.push_back(label);
    }
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? this->width() - left : pixels(widthsInTwips_.at(i));
        panels_[i]->setGeometry(left, 1, width, height() - 1);
        left += width;
    }
}

}  // namespace kestrix::ui
