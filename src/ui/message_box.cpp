#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace kestrix::ui {

namespace {

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
    box.setDefaultButton(QMessageBox::Yes);
    return execReturningFocus(box) == QMessageBox::Yes;
}

void showFailure(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrix"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    execReturningFocus(box);
}

}  // namespace kestrix::ui
