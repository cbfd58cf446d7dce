#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>

namespace kestrix::test {

// Plays the person in front of the screen: answers each message box that opens with the next
// answer given, in order, by mouse, keyboard or assistive technology. A box for which no answer
// was given is closed with its escape button and recorded as unexpected, so no test ever waits
// on a box.
class ModalAnswers : public QObject {
    Q_OBJECT
public:
    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        Qt::TextFormat format;
        bool readable;  // its text and buttons reach assistive technology
        bool inSight;   // the box within the screen's available area, its buttons shown there
    };
    enum class By { Mouse, Keyboard, AssistiveTechnology };

    ModalAnswers();

    void answer(QMessageBox::StandardButton button, By by = By::Mouse) {
        answers_.push_back({button, by});
    }

    [[nodiscard]] const std::vector<Shown>& shown() const { return shown_; }
    [[nodiscard]] QStringList texts() const;
    [[nodiscard]] int unexpected() const { return unexpected_; }
    [[nodiscard]] bool allAnswered() const { return answers_.empty(); }

private:
    void answerOpenBox();

    QTimer poll_;
    struct Answer {
        QMessageBox::StandardButton button;
        By by;
    };
    static void give(QMessageBox* box, const Answer& answer);

    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    int unexpected_ = 0;
};

}  // namespace kestrix::test
