#pragma once

#include <QStringList>

namespace kestrix::ui {

// A list box that is never shown: its items, kept in ascending order without regard to letter
// case, and a selected index.
class HiddenList {
public:
    explicit HiddenList(QStringList items);

    [[nodiscard]] int listCount() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] int listIndex() const { return index_; }
    void setListIndex(int index) { index_ = index; }
    // The selected item; "" when none is selected.
    [[nodiscard]] QString text() const;
    [[nodiscard]] const QStringList& items() const { return items_; }

private:
    QStringList items_;
    int index_ = -1;
};

}  // namespace kestrix::ui
