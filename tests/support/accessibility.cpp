#include "support/accessibility.h"

#include <QtGui/private/qguiapplication_p.h>
#include <gtest/gtest.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <functional>

namespace kestrix::test {

namespace {

AccessibilityEvents* listening = nullptr;

void setPlatformAccessibilityActive(bool active) {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(active);
}

QString withoutAccessKeys(QString caption) {
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

void walk(QAccessibleInterface* object, int depth,
          const std::function<bool(QAccessibleInterface*)>& visit) {
    // Menus lead back to their menu bar through their parent; a depth limit keeps the walk
    // finite without tracking where it has been.
    constexpr int deepest = 12;
    if (object == nullptr || depth > deepest || !visit(object)) {
        return;
    }
    for (int i = 0; i < object->childCount(); ++i) {
        walk(object->child(i), depth + 1, visit);
    }
}

}  // namespace

AccessibilityEvents::AccessibilityEvents()
    : previous_(QAccessible::installUpdateHandler(&AccessibilityEvents::record)) {
    listening = this;
    setPlatformAccessibilityActive(true);
}

AccessibilityEvents::~AccessibilityEvents() {
    setPlatformAccessibilityActive(false);
    QAccessible::installUpdateHandler(previous_);
    listening = nullptr;
}

void AccessibilityEvents::record(QAccessibleEvent* event) {
    QAccessibleInterface* source = event->accessibleInterface();
    if (source == nullptr) {
        return;
    }
    QAccessible::State changed;
    if (event->type() == QAccessible::StateChanged) {
        changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    }
    listening->heard_.push_back({event->type(), source->object(), source->role(),
                                 source->text(QAccessible::Name), changed});
}

QStringList AccessibilityEvents::namesHeard(QAccessible::Event type, const QObject* source) const {
    QStringList names;
    for (const Heard& event : heard_) {
        if (event.type == type && event.source == source) {
            names << event.name;
        }
    }
    return names;
}

QStringList accessibleTexts(QWidget* widget) {
    QStringList texts;
    walk(QAccessible::queryAccessibleInterface(widget), 0, [&](QAccessibleInterface* object) {
        texts << object->text(QAccessible::Name) << object->text(QAccessible::Value);
        return true;
    });
    return texts;
}

QStringList shownTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        texts << withoutAccessKeys(button->text());
    }
    for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        texts << frame->title();
    }
    for (const QListWidget* list : window->findChildren<QListWidget*>()) {
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
    }
    for (const QMenu* menu : window->findChildren<QMenu*>()) {
        texts << withoutAccessKeys(menu->title());
        for (const QAction* item : menu->actions()) {
            texts << withoutAccessKeys(item->text());
        }
    }
    texts.removeAll(QString());
    return texts;
}

QAccessibleInterface* findAccessible(QWidget* widget, QAccessible::Role role, const QString& name) {
    QAccessibleInterface* found = nullptr;
    walk(QAccessible::queryAccessibleInterface(widget), 0, [&](QAccessibleInterface* object) {
        if (found == nullptr && object->role() == role && object->text(QAccessible::Name) == name) {
            found = object;
        }
        return found == nullptr;
    });
    return found;
}

void doAccessibleAction(QAccessibleInterface* object, const QString& action) {
    ASSERT_NE(object, nullptr);
    QAccessibleActionInterface* actions = object->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(action))
        << object->text(QAccessible::Name).toStdString() << " offers no " << action.toStdString();
    actions->doAction(action);
}

}  // namespace kestrix::test
