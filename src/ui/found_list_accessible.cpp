#include "ui/found_list_accessible.h"

#include "ui/found_list.h"

#include <QPointer>

namespace kestrix::ui {

namespace {

class FoundRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    FoundRowAccessible(FoundList* list, QListWidgetItem* item) : list_(list), item_(item) {}

    [[nodiscard]] bool isValid() const override { return list_ && list_->row(item_) >= 0; }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override {
        return list_ ? list_->window()->windowHandle() : nullptr;
    }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
        return nullptr;
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::ListItem; }

    // The same roles a standard item view reads, so a description given to a row is heard.
    [[nodiscard]] QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = item_->data(Qt::AccessibleTextRole).toString();
                return name.isEmpty() ? item_->text() : name;
            }
            case QAccessible::Description:
                return item_->data(Qt::AccessibleDescriptionRole).toString();
            default:
                return {};
        }
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

    [[nodiscard]] QRect rect() const override {
        const QRect onView = list_->visualItemRect(item_);
        return {list_->viewport()->mapToGlobal(onView.topLeft()), onView.size()};
    }

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state;
        state.selectable = true;
        state.selected = item_->isSelected();
        state.focusable = true;
        state.focused = list_->hasFocus() && list_->currentItem() == item_;
        state.checkable = true;
        state.checked = item_->checkState() == Qt::Checked;
        state.disabled = !list_->isEnabled();
        state.invisible = !list_->isVisible();
        state.offscreen = !list_->viewport()->rect().intersects(list_->visualItemRect(item_));
        return state;
    }

    [[nodiscard]] QStringList actionNames() const override {
        return list_->isEnabled() ? QStringList{toggleAction()} : QStringList{};
    }
    void doAction(const QString& actionName) override {
        if (actionName == toggleAction() && list_->isEnabled()) {
            item_->setCheckState(item_->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString& actionName) const override {
        if (actionName == toggleAction()) {
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        }
        return {};
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

private:
    QPointer<FoundList> list_;
    QListWidgetItem* item_;  // valid while the row is listed: the interface goes with the row
};

}  // namespace

FoundListAccessible::FoundListAccessible(FoundList* list)
    : QAccessibleWidget(list, QAccessible::List) {
    const QAbstractItemModel* model = list->model();
    connections_.push_back(QObject::connect(
        model, &QAbstractItemModel::rowsAboutToBeRemoved, list,
        [this](const QModelIndex& /*parent*/, int first, int last) { forgetRows(first, last); }));
    connections_.push_back(QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, list,
                                            [this] { forgetAllRows(); }));
    connections_.push_back(
        QObject::connect(model, &QAbstractItemModel::dataChanged, list,
                         [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                const QList<int>& roles) {
                             announceCheckMarks(topLeft.row(), bottomRight.row(), roles);
                         }));
}

FoundListAccessible::~FoundListAccessible() {
    for (const auto& connection : connections_) {
        QObject::disconnect(connection);
    }
    for (const auto& [item, id] : rows_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

FoundList* FoundListAccessible::list() const {
    return static_cast<FoundList*>(widget());
}

QAccessibleInterface* FoundListAccessible::rowInterface(QListWidgetItem* item) const {
    if (item == nullptr) {
        return nullptr;
    }
    if (const auto known = rows_.find(item); known != rows_.end()) {
        return QAccessible::accessibleInterface(known->second);
    }
    auto* row = new FoundRowAccessible(list(), item);
    rows_.emplace(item, QAccessible::registerAccessibleInterface(row));
    return row;
}

int FoundListAccessible::childCount() const {
    return list()->count();
}

QAccessibleInterface* FoundListAccessible::child(int index) const {
    return rowInterface(list()->item(index));
}

int FoundListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (const auto& [item, id] : rows_) {
        if (QAccessible::accessibleInterface(id) == child) {
            return list()->row(item);
        }
    }
    return -1;
}

QAccessibleInterface* FoundListAccessible::childAt(int x, int y) const {
    const QPoint onView = list()->viewport()->mapFromGlobal(QPoint(x, y));
    return rowInterface(list()->itemAt(onView));
}

QAccessibleInterface* FoundListAccessible::focusChild() const {
    return list()->hasFocus() ? rowInterface(list()->currentItem()) : nullptr;
}

void FoundListAccessible::forgetRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        if (const auto known = rows_.find(list()->item(row)); known != rows_.end()) {
            QAccessible::deleteAccessibleInterface(known->second);
            rows_.erase(known);
        }
    }
}

void FoundListAccessible::forgetAllRows() {
    for (const auto& [item, id] : rows_) {
        QAccessible::deleteAccessibleInterface(id);
    }
    rows_.clear();
}

void FoundListAccessible::announceCheckMarks(int first, int last, const QList<int>& roles) const {
    if (!QAccessible::isActive() || !(roles.isEmpty() || roles.contains(Qt::CheckStateRole))) {
        return;
    }
    QAccessible::State checkMark;
    checkMark.checked = true;
    for (int row = first; row <= last; ++row) {
        QAccessibleStateChangeEvent event(child(row), checkMark);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace kestrix::ui
