#include "ui/form.h"

#include "platform/host_folders.h"
#include "platform/window_frame.h"
#include "ui/accessibility.h"
#include "ui/keyboard_cues_style.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
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

void addWineTahoma() {
    const QString folder = platform::wineFontFolder();
    if (folder.isEmpty() || QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        return;
    }
    for (const auto* file : {"/tahoma.ttf", "/tahomabd.ttf"}) {
        if (const QString path = folder + QLatin1String(file); QFileInfo::exists(path)) {
            QFontDatabase::addApplicationFont(path);
        }
    }
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

void closeOnEscape(QWidget& window) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
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
    centreOnScreen();
}

void Form::centreOnScreen() {
    const QScreen* own = screen();
    if (own == nullptr || windowHandle() == nullptr) {
        return;
    }
    // Placed before the window manager frames it, so the window never moves once it shows.
    const QMargins frame = platform::expectedFrameMargins(*windowHandle());
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(own->availableGeometry().center());
    setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size()));
}

}  // namespace kestrix::ui
