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
    // The row numbered 1 and up that shows the text; 0 when none does.
    [[nodiscard]] int rowOf(const QString& text) const;

    // What the row's tooltip and its accessible description say. Plain text: it may show file
    // and font names, which must never be taken for markup.
    void setRowDescription(int row, const QString& text);
    [[nodiscard]] QString rowDescription(int row) const;

signals:
    // A tooltip is about to show for the row.
    void rowToolTipAsked(int row);
    // Preview was chosen from the row's context menu.
    void previewAsked(int row);

protected:
    bool viewportEvent(QEvent* event) override;
    // Right click or the Menu key: offers Preview for the row, when something shows previews.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Rows may arrive a thousand times a second; the list is drawn at most once a frame.
    void holdRepaintForAFrame();

    QIcon rowIcon_;
    bool repaintHeld_ = false;
};

}  // namespace kestrix::ui
