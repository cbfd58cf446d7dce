#pragma once

#include <QIcon>
#include <map>

namespace kestrix::ui {

// An icon drawn at square sizes, one image file for each side length (at least one). It looks as
// Qt's icon of the same files does at every size, mode and scale, but reads a file only when a size
// that file is the best drawing for is first asked for, not at start-up.
[[nodiscard]] QIcon drawnIcon(std::map<int, QString> drawings);

}  // namespace kestrix::ui
