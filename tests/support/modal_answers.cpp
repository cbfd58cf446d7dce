#include "support/modal_answers.h"

#include "support/accessibility.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <algorithm>

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
    QStringList texts{box->text()};
    for (const QAbstractButton* button : box->buttons()) {
        texts << button->text().remove(u'&');
    }
    const QStringList readable = accessibleTexts(box);
    const QRect screen = box->screen()->availableGeometry();
    const auto buttons = box->buttons();
    const bool inSight =
        screen.contains(box->frameGeometry()) &&
        std::all_of(buttons.begin(), buttons.end(), [&](const QAbstractButton* button) {
            return button->isVisible() &&
                   screen.contains(QRect(button->mapToGlobal(QPoint()), button->size()));
        });
    shown_.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                      defaultButton ? box->standardButton(defaultButton) : QMessageBox::NoButton,
                      box->textFormat(),
                      std::all_of(texts.begin(), texts.end(),
                                  [&](const QString& text) { return readable.contains(text); }),
                      inSight});
    if (answers_.empty()) {
        ++unexpected_;
        give(box, {box->standardButton(box->escapeButton()), By::Mouse});
        return;
    }
    give(box, answers_.front());
    answers_.pop_front();
}

void ModalAnswers::give(QMessageBox* box, const Answer& answer) {
    QAbstractButton* button = box->button(answer.button);
    if (button == nullptr) {
        box->reject();
        return;
    }
    switch (answer.by) {
        case By::Mouse:
            button->click();
            break;
        case By::Keyboard:
            // Enter takes the default button, Escape the one that declines.
            QTest::keyClick(box, button == box->defaultButton() ? Qt::Key_Return : Qt::Key_Escape);
            break;
        case By::AssistiveTechnology:
            doAccessibleAction(QAccessible::queryAccessibleInterface(button),
                               QAccessibleActionInterface::pressAction());
            break;
    }
}

}  // namespace kestrix::test
