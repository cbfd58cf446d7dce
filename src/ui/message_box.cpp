#include "ui/message_box.h"

#include <QMessageBox>

namespace kestrix::ui {

bool askYesNo(QWidget* parent, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QString(), prompt, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void showFailure(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrix"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace kestrix::ui
