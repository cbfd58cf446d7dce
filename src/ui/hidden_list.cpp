#include "ui/hidden_list.h"

#include <algorithm>

namespace kestrix::ui {

HiddenList::HiddenList(QStringList items) : items_(std::move(items)) {
    std::stable_sort(items_.begin(), items_.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

QString HiddenList::text() const {
    return index_ >= 0 && index_ < listCount() ? items_.at(index_) : QString();
}

}  // namespace kestrix::ui
