#include "ui/program_icon.h"

#include "ui/lazy_icon.h"

namespace kestrix::ui {

QIcon programIcon() {
    std::map<int, QString> drawings;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        drawings.emplace(side, QStringLiteral(":/icons/kestrix-%1.png").arg(side));
    }
    return drawnIcon(std::move(drawings));
}

}  // namespace kestrix::ui
