#include "platform/system_fonts.h"

namespace kestrix::platform {

// Fontconfig and the programs using it read font files afresh; none holds on to a removed one.

FontCalls systemFontCalls() {
    return {[](const QString&) { return false; }, [](const QString&) {}};
}

bool forgetFontValues(const QString&) {
    return false;
}

void announceFontChange() {}

}  // namespace kestrix::platform
