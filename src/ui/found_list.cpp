#include "ui/found_list.h"

#include <QTimer>

namespace kestrix::ui {

FoundList::FoundList(QWidget* parent, QIcon rowIcon)
    : QListWidget(parent), rowIcon_(std::move(rowIcon)) {
    setIconSize(QSize(16, 16));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FoundList::addFirst(const QString& text) {
    auto* row = new QListWidgetItem(rowIcon_, text);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    row->setCheckState(Qt::Unchecked);
    insertItem(0, row);
    holdRepaintForAFrame();
}

void FoundList::holdRepaintForAFrame() {
    if (repaintHeld_) {
        return;
    }
    repaintHeld_ = true;
    viewport()->setUpdatesEnabled(false);
    constexpr int frameMs = 16;
    QTimer::singleShot(frameMs, this, [this] {
        repaintHeld_ = false;
        viewport()->setUpdatesEnabled(true);  // repaints what changed meanwhile
    });
}

QString FoundList::rowText(int row) const {
    return item(row - 1)->text();
}

bool FoundList::isChecked(int row) const {
    return item(row - 1)->checkState() == Qt::Checked;
}

void FoundList::setChecked(int row, bool checked) {
    item(row - 1)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace kestrix::ui
