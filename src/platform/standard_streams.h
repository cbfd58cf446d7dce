#pragma once

namespace kestrix::platform {

// Makes standard input and output carry bytes exactly: in Windows' text mode "\n" would become
// "\r\n" and a Ctrl+Z would end the input. Elsewhere they always do.
void useBinaryStandardStreams();

// Lets what the program answers on its command line reach the console it was started from. A
// Windows GUI program has no console of its own: where its standard output or error leads
// nowhere, it is pointed at the console of the program that started it, if there is one.
// Elsewhere they lead where the shell pointed them already.
void reachStartingConsole();

}  // namespace kestrix::platform
