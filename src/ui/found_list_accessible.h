#pragma once

#include <QAccessibleWidget>
#include <QMetaObject>
#include <unordered_map>
#include <vector>

class QListWidgetItem;

namespace kestrix::ui {

class FoundList;

// The found list as assistive technology sees it: a list whose children are its rows. Each row
// reads as its text, tells whether it is checked, and checks or unchecks by its toggle action
// just as by a click on its box or by Space; a change of a check mark is announced.
class FoundListAccessible : public QAccessibleWidget {
public:
    explicit FoundListAccessible(FoundList* list);
    FoundListAccessible(const FoundListAccessible&) = delete;
    FoundListAccessible& operator=(const FoundListAccessible&) = delete;
    ~FoundListAccessible() override;

    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

private:
    [[nodiscard]] FoundList* list() const;
    [[nodiscard]] QAccessibleInterface* rowInterface(QListWidgetItem* item) const;
    void forgetRows(int first, int last);
    void forgetAllRows();
    void announceCheckMarks(int first, int last, const QList<int>& roles) const;

    // Rows get their interface when first asked for; it goes with the row.
    mutable std::unordered_map<const QListWidgetItem*, QAccessible::Id> rows_;
    std::vector<QMetaObject::Connection> connections_;
};

}  // namespace kestrix::ui
