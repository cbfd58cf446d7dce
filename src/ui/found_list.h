#pragma once

#include <QIcon>
#include <QListWidget>

namespace kestrix::ui {

// The list view of found files: one checkable row per file, each with the same small icon.
// Rows are numbered from 1 in display order.
class FoundList : public QListWidget {
    Q_OBJECT
public:
    FoundList(QWidget* parent, QIcon rowIcon);

    [[nodiscard]] int rowCount() const { return count(); }
    // Inserts a row at the top; the rows below move down.
    void addFirst(const QString& text);
    [[nodiscard]] QString rowText(int row) const;
    [[nodiscard]] bool isChecked(int row) const;
    void setChecked(int row, bool checked);

private:
    // Rows may arrive a thousand times a second; the list is drawn at most once a frame.
    void holdRepaintForAFrame();

    QIcon rowIcon_;
    bool repaintHeld_ = false;
};

}  // namespace kestrix::ui
