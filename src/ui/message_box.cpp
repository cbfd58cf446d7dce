#include "ui/message_box.h"

#include "ui/message_text.h"

#include "platform/window_frame.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <algorithm>

namespace kestrix::ui {

namespace {

// However many lines the text takes, the box stays within the screen's available area with its
// buttons in sight: where they would not fit, the lines scroll.
void fitIntoScreen(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (label == nullptr || grid == nullptr || box.winId() == 0) {
        return;
    }
    const QMargins frame = platform::expectedFrameMargins(*box.windowHandle());
    const int room = box.screen()->availableGeometry().height() - frame.top() - frame.bottom();
    const int over = grid->totalMinimumSize().height() - room;
    if (over <= 0) {
        return;
    }
    auto* lines = new QScrollArea(&box);
    lines->setFrameShape(QFrame::NoFrame);
    lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lines->setFocusPolicy(Qt::StrongFocus);  // the keys scroll it too
    delete grid->replaceWidget(label, lines);
    const QSize shown = label->size();
    lines->setWidget(label);
    lines->setFixedSize(shown.width() + lines->verticalScrollBar()->sizeHint().width(),
                        std::max(shown.height() - over, label->fontMetrics().height()));
}

// The text exactly as given, shown with its paths and words whole. Where a line must break
// depends on the box's screen: a box wraps its text at about half the screen's width, 500
// pixels at most, less its margins.
void setMessage(QMessageBox& box, const QString& text) {
    box.setText(text);
    keepWordsWhole(box, std::min(box.screen()->availableGeometry().width() / 2, 500) - 80);
    fitIntoScreen(box);
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
