#include "ui/keyboard_cues_style.h"

#include "ui/lazy_icon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace kestrix::ui {

KeyboardCuesStyle::KeyboardCuesStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

int KeyboardCuesStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
    if (hint == SH_UnderlineShortcut) {
        return showsAccessKeys(widget) ? 1 : 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon KeyboardCuesStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
    // A menu bar makes the icon of its button for menus that do not fit as it is built, and
    // reading that first image loads every image format plugin, though the button seldom shows:
    // the icon is made when it is first drawn. Asked for without options, as the bar asks, it
    // depends on nothing that changes meanwhile.
    if (icon == SP_ToolBarHorizontalExtensionButton && option == nullptr) {
        return deferredIcon([base = QPointer<QStyle>(baseStyle()), icon] {
            return base ? base->standardIcon(icon) : QIcon();
        });
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

bool KeyboardCuesStyle::showsAccessKeys(const QWidget* widget) const {
    if (altHeld_) {
        return true;
    }
    if (!keyboardInUse_) {
        return false;
    }
    if (qobject_cast<const QMenu*>(widget) != nullptr) {
        return true;
    }
    // A menu bar worked from the keyboard holds the focus or has a menu open.
    if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
        return bar->hasFocus() || QApplication::activePopupWidget() != nullptr;
    }
    return false;
}

void KeyboardCuesStyle::polish(QApplication* application) {
    QProxyStyle::polish(application);
    application->installEventFilter(this);
}

void KeyboardCuesStyle::unpolish(QApplication* application) {
    application->removeEventFilter(this);
    QProxyStyle::unpolish(application);
}

bool KeyboardCuesStyle::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            keyboardInUse_ = true;
            // The style draws focus only where the keyboard is used; show it from the first key.
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            }
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
                setAltHeld(true);
            }
            break;
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
                setAltHeld(false);
            }
            break;
        case QEvent::MouseButtonPress:
            keyboardInUse_ = false;
            break;
        case QEvent::ApplicationDeactivate:
            setAltHeld(false);
            break;
        default:
            break;
    }
    return QProxyStyle::eventFilter(watched, event);
}

void KeyboardCuesStyle::setAltHeld(bool held) {
    if (altHeld_ == held) {
        return;
    }
    altHeld_ = held;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->update();
        }
    }
}

}  // namespace kestrix::ui
