#pragma once

namespace kestrix::ui {

// Lets queued input, paint, timer and socket events run, then returns. Returns false once the
// program is ending: the caller must then return at once, touching nothing more.
[[nodiscard]] bool doEvents();

// The same for a handler that a timer drives: input, paint and socket events run, timer events
// wait until the handler returns, a fraction of a millisecond later. Timers processed inside a
// tick would re-base the driving timer's schedule and stretch every tick by its own length.
[[nodiscard]] bool doEventsButTimers();

// Ends the program at once: loops that yield stop, and the event loop quits.
void endProgram();
[[nodiscard]] bool programEnding();
// A program that starts again (each test does) is not ending.
void clearProgramEnding();

}  // namespace kestrix::ui
