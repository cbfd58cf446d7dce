#include "ui/program_icon.h"

namespace kestrix::ui {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/kestrix-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace kestrix::ui
