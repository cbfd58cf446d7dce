#pragma once

#include <QMargins>

class QWindow;

namespace kestrix::platform {

// The frame the window manager is going to put around a window that is about to be shown for
// the first time. On X11 the window manager is asked for it beforehand (it answers within
// milliseconds, or not at all when it cannot tell); elsewhere the platform knows it already.
[[nodiscard]] QMargins expectedFrameMargins(QWindow& window);

}  // namespace kestrix::platform
