#pragma once

#include <QIcon>

namespace kestrix::ui {

// Kestrix's own icon, the one the desktop shows for it, drawn for every size from 16 to 256
// pixels so that it stays crisp at any scale factor.
[[nodiscard]] QIcon programIcon();

}  // namespace kestrix::ui
