#pragma once

#include "ui/file_list.h"

namespace kestrix::ui {

// Every name the list holds, in its order.
inline QStringList listed(FileList& list) {
    QStringList names;
    for (int i = 0; i < list.listCount(); ++i) {
        list.setListIndex(i);
        names << list.fileName();
    }
    return names;
}

}  // namespace kestrix::ui
