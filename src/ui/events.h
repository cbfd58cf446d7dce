#pragma once

namespace kestrix::ui {

// Lets queued input, paint, timer and socket events run, then returns. Returns false once the
// program is ending: the caller must then return at once, touching nothing more.
[[nodiscard]] bool doEvents();

// The same for a handler that a timer drives: input, paint and socket events run, timer events
// wait until the handler returns, a fraction of a millisecond later. Timers processed inside a
// tick would re-base the driving timer's schedule and stretch every tick by its own length.
[[nodiscard]] bool doEventsButTimers();

// Runs the program's event loop until the program ends; returns the exit code.
[[nodiscard]] int runProgram();

// Ends the program at once: loops that yield stop, and the event loop run by runProgram quits.
// Without that loop (a test drives the windows) nothing else is touched, so questions asked
// later in the same process still wait for their answer.
void endProgram();
[[nodiscard]] bool programEnding();
// A program that starts again (each test does) is not ending.
void clearProgramEnding();

}  // namespace kestrix::ui
