#pragma once

#include <QStringList>

namespace kestrix::scan {

// The standard font files a scan leaves alone, in the order lstDatabase holds them.
[[nodiscard]] QStringList referenceList();

}  // namespace kestrix::scan
