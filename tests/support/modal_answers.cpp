#include "support/modal_answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace kestrix::test {

ModalAnswers::ModalAnswers() {
    poll_.setInterval(2);
    connect(&poll_, &QTimer::timeout, this, &ModalAnswers::answerOpenBox);
    poll_.start();
}

QStringList ModalAnswers::texts() const {
    QStringList texts;
    for (const auto& box : shown_) {
        texts << box.text;
    }
    return texts;
}

void ModalAnswers::answerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("kestrixAnswered").toBool()) {
        return;
    }
    box->setProperty("kestrixAnswered", true);
    auto* defaultButton = box->defaultButton();
    QString readable = box->text();
    readable.remove(QChar(0x2060)).remove(QChar(0x200B));
    shown_.push_back({box->windowTitle(), readable, box->icon(), box->standardButtons(),
                      defaultButton ? box->standardButton(defaultButton) : QMessageBox::NoButton,
                      box->textFormat(), box->text()});
    QAbstractButton* button = nullptr;
    if (!answers_.empty()) {
        button = box->button(answers_.front());
        answers_.pop_front();
    } else {
        ++unexpected_;
        button = box->escapeButton();
    }
    if (button != nullptr) {
        button->click();
    } else {
        box->reject();
    }
}

}  // namespace kestrix::test
