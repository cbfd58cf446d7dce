#include "platform/window_frame.h"

#include <QWindow>

namespace kestrix::platform {

QMargins expectedFrameMargins(QWindow& window) {
    // Windows knows the frame of a window before it shows.
    return window.frameMargins();
}

}  // namespace kestrix::platform
