#include "ui/form.h"

#include "ui/accessibility.h"
#include "ui/keyboard_cues_style.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QShortcut>

namespace kestrix::ui {

QFont designFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

void applyClassicStyle() {
    QApplication::setStyle(new KeyboardCuesStyle(QStringLiteral("Windows")));
}

Form::Form(const QString& caption, QSize clientTwips, const QIcon& icon)
    : client_(new QWidget(this)) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    setWindowIcon(icon);
    setFont(designFont());
    client_->setFixedSize(twipsSize(clientTwips.width(), clientTwips.height()));
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ensureAccessibleInterfaces();
}

void Form::closeOnEscape() {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit unloadRequested();
}

void Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) {
        return;
    }
    centred_ = true;
    if (const auto* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace kestrix::ui
