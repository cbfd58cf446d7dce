#pragma once

#include <QString>

namespace kestrix::test::x11_desktop {

// A desktop of the test process's own: a private virtual X display with a real window manager
// (openbox) on it, for the tests of how windows meet a window manager.

// Starts the display and the window manager and points Qt at them; call before the application
// object is made. Without Xvfb or openbox, tests run offscreen and missing() says why.
void start();
// Ends the window manager and the display; call after the application object is gone.
void stop();

// Why the process runs without an X desktop of its own; empty when it has one.
[[nodiscard]] QString missing();

}  // namespace kestrix::test::x11_desktop
