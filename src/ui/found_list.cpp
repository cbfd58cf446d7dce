#include "ui/found_list.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

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

int FoundList::rowOf(const QString& text) const {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() == text) {
            return i + 1;
        }
    }
    return 0;
}

void FoundList::setRowDescription(int row, const QString& text) {
    QListWidgetItem* entry = item(row - 1);
    const QString oldTip = entry->toolTip();
    const QString tip = Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
    entry->setToolTip(tip);
    entry->setData(Qt::AccessibleDescriptionRole, text);
    // A tooltip already showing for the row shows what is known now.
    if (QToolTip::isVisible() && QToolTip::text() == oldTip && !oldTip.isEmpty()) {
        QToolTip::showText(QCursor::pos(), tip, viewport(), visualItemRect(entry));
    }
}

QString FoundList::rowDescription(int row) const {
    return item(row - 1)->data(Qt::AccessibleDescriptionRole).toString();
}

bool FoundList::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (const QListWidgetItem* entry = itemAt(static_cast<QHelpEvent*>(event)->pos())) {
            emit rowToolTipAsked(row(entry) + 1);
        }
    }
    return QListWidget::viewportEvent(event);
}

void FoundList::contextMenuEvent(QContextMenuEvent* event) {
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    const QListWidgetItem* entry = byMouse ? itemAt(event->pos()) : currentItem();
    if (!entry || !isSignalConnected(QMetaMethod::fromSignal(&FoundList::previewAsked))) {
        return;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString text = entry->text();
    connect(menu->addAction(QStringLiteral("Preview")), &QAction::triggered, this, [this, text] {
        if (const int row = rowOf(text)) {
            emit previewAsked(row);
        }
    });
    menu->popup(byMouse ? event->globalPos()
                        : viewport()->mapToGlobal(visualItemRect(entry).center()));
}

}  // namespace kestrix::ui
