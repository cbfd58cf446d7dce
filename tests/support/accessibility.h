#pragma once

#include <QAccessible>
#include <QStringList>
#include <vector>

class QWidget;

namespace kestrix::test {

// Turns the platform's accessibility on, as a screen reader's arrival does, and records the
// events assistive technology would hear until it goes.
class AccessibilityEvents {
public:
    // What an event said, taken when it was raised: its source may be gone since.
    struct Heard {
        QAccessible::Event type;
        const QObject* source;  // the widget, or none for a row
        QAccessible::Role role;
        QString name;
        QAccessible::State changed;
    };

    AccessibilityEvents();
    AccessibilityEvents(const AccessibilityEvents&) = delete;
    AccessibilityEvents& operator=(const AccessibilityEvents&) = delete;
    ~AccessibilityEvents();

    [[nodiscard]] const std::vector<Heard>& heard() const { return heard_; }
    // The names heard in events of this type raised by the object's own interface.
    [[nodiscard]] QStringList namesHeard(QAccessible::Event type, const QObject* source) const;

private:
    static void record(QAccessibleEvent* event);

    std::vector<Heard> heard_;
    QAccessible::UpdateHandler previous_;
};

// Every name and value of the accessible objects below the widget, its menus included.
[[nodiscard]] QStringList accessibleTexts(QWidget* widget);

// Every text the window shows: its title, captions, labels, status, rows and menus.
[[nodiscard]] QStringList shownTexts(QWidget* window);

// The first accessible object below the widget with this role and name, or none.
[[nodiscard]] QAccessibleInterface* findAccessible(QWidget* widget, QAccessible::Role role,
                                                   const QString& name);

// Runs the object's accessible action by its name, as assistive technology does.
void doAccessibleAction(QAccessibleInterface* object, const QString& action);

}  // namespace kestrix::test
