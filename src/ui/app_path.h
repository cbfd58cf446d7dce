#pragma once

#include <QString>

namespace kestrix::ui {

// The folder that holds the program file.
[[nodiscard]] QString appPath();

}  // namespace kestrix::ui
