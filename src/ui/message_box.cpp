#include "ui/message_box.h"

#include "ui/message_text.h"

#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace kestrix::ui {

namespace {

// Keeps the text's paths whole. Where a line must break depends on the box's font and screen:
// a box wraps its text at about half the screen's width, 500 pixels at most, less its margins.
void setMessage(QMessageBox& box, const QString& text) {
    const int widestLine = std::min(box.screen()->availableGeometry().width() / 2, 500) - 80;
    box.setText(keepPathsWhole(text, box.fontMetrics(), widestLine));
}

}  // namespace

bool askYesNo(QWidget* parent, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QString(), prompt, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    setMessage(box, prompt);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void showFailure(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrix"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    setMessage(box, text);
    box.exec();
}

}  // namespace kestrix::ui
