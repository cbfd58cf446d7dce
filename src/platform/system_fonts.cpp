#include "platform/system_fonts.h"

namespace kestrix::platform {

namespace {

constexpr int mostLoads = 64;  // a font loaded more often than this is held by something else

}  // namespace

SystemFonts::~SystemFonts() {
    if (changed_) {
        announceFontChange();
    }
}

void SystemFonts::unload(const QString& hostPath) {
    int times = 0;
    while (times < mostLoads && calls_.unloadOnce(hostPath)) {
        ++times;
    }
    if (times > 0) {
        unloaded_[hostPath] += times;
        changed_ = true;
    }
}

void SystemFonts::reload(const QString& hostPath) {
    for (int times = unloaded_.take(hostPath); times > 0; --times) {
        calls_.load(hostPath);
    }
}

void SystemFonts::forget(const QString& hostPath) {
    unloaded_.remove(hostPath);
    if (forgetFontValues(hostPath)) {
        changed_ = true;
    }
}

}  // namespace kestrix::platform
