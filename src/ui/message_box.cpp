#include "ui/message_box.h"

#include "ui/message_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace kestrix::ui {

namespace {

// The text exactly as given, shown with its paths and words whole. Where a line must break
// depends on the box's screen: a box wraps its text at about half the screen's width, 500
// pixels at most, less its margins.
void setMessage(QMessageBox& box, const QString& text) {
    box.setText(text);
    keepWordsWhole(box, std::min(box.screen()->availableGeometry().width() / 2, 500) - 80);
}

// Shows the box and, once it has gone, gives the keyboard back to the control that was used,
// where the desktop alone would leave it on nothing.
int execReturningFocus(QMessageBox& box) {
    const QPointer<QWidget> used = QApplication::focusWidget();
    const int answer = box.exec();
    if (used && used->isVisible() && used->isEnabled()) {
        used->activateWindow();
        used->setFocus(Qt::OtherFocusReason);
    }
    return answer;
}

}  // namespace

bool askYesNo(QWidget* parent, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QString(), prompt, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    setMessage(box, prompt);
    box.setDefaultButton(QMessageBox::Yes);
    return execReturningFocus(box) == QMessageBox::Yes;
}

void showFailure(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrix"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    setMessage(box, text);
    execReturningFocus(box);
}

}  // namespace kestrix::ui
