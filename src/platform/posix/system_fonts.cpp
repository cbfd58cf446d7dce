#include "platform/system_fonts.h"

namespace kestrix::platform {

// Fontconfig and the programs using it read font files afresh; none holds on to a removed one.

SystemFonts::~SystemFonts() = default;

void SystemFonts::unload(const QString&) {}

void SystemFonts::reload(const QString&) {}

void SystemFonts::forget(const QString&) {}

}  // namespace kestrix::platform
