#pragma once

#include <QString>

namespace kestrix::platform {

// The Qt platform the font reader runs on, so that it reads fonts with the engine the program's
// windows draw them with: offscreen has the desktop's own (FreeType) engine elsewhere than on
// Windows, where only the platform the program itself runs on has it.
[[nodiscard]] QString fontReaderPlatform();

}  // namespace kestrix::platform
