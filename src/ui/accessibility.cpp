#include "ui/accessibility.h"

#include "ui/caption_label.h"
#include "ui/found_list.h"
#include "ui/found_list_accessible.h"
#include "ui/link_label.h"
#include "ui/status_bar.h"

#include <QAccessibleWidget>

namespace kestrix::ui {

namespace {

class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && link()->accessibleName().isEmpty()) {
            return link()->text();
        }
        return QAccessibleWidget::text(t);
    }

    [[nodiscard]] QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (link()->isEnabled()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            link()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    [[nodiscard]] LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

class FigureAccessible : public QAccessibleWidget {
public:
    explicit FigureAccessible(FigureLabel* figure)
        : QAccessibleWidget(figure, QAccessible::StaticText) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return figure()->spokenText();
            case QAccessible::Value:
                return figure()->text();
            default:
                return QAccessibleWidget::text(t);
        }
    }

private:
    [[nodiscard]] FigureLabel* figure() const { return static_cast<FigureLabel*>(widget()); }
};

QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    if (className == QLatin1String(LinkLabel::staticMetaObject.className())) {
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    }
    if (className == QLatin1String(FigureLabel::staticMetaObject.className())) {
        return new FigureAccessible(static_cast<FigureLabel*>(object));
    }
    if (className == QLatin1String(StatusBar::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<StatusBar*>(object), QAccessible::StatusBar);
    }
    if (className == QLatin1String(FoundList::staticMetaObject.className())) {
        return new FoundListAccessible(static_cast<FoundList*>(object));
    }
    return nullptr;
}

}  // namespace

void ensureAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    (void)installed;
}

}  // namespace kestrix::ui
