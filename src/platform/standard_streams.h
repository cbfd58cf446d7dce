#pragma once

#include <cstdio>
#include <memory>

namespace kestrix::platform {

struct CloseStream {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using OwnStream = std::unique_ptr<std::FILE, CloseStream>;

// Takes standard output for the caller alone: returns a binary stream on it, and sends whatever
// else the process writes to standard output (a library's debugging, say) to standard error
// from now on. Call it before anything else may write. Empty when the system refused.
[[nodiscard]] OwnStream takeStandardOutput();

// Makes standard input and output carry bytes exactly: in Windows' text mode "\n" would become
// "\r\n" and a Ctrl+Z would end the input. Elsewhere they always do.
void useBinaryStandardStreams();

// Lets what the program answers on its command line reach the console it was started from. A
// Windows GUI program has no console of its own: where its standard output or error leads
// nowhere, it is pointed at the console of the program that started it, if there is one.
// Elsewhere they lead where the shell pointed them already.
void reachStartingConsole();

}  // namespace kestrix::platform
