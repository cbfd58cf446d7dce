#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kestrix::platform {

// An outside program and what it is given, as the platform starts it.
struct CommandLine {
    QString program;
    QStringList arguments;

    friend bool operator==(const CommandLine&, const CommandLine&) = default;
};

// Starts an outside program on its own and returns at once, never waiting for it.
// Returns false when it could not be started.
using ProgramStarter = std::function<bool(const CommandLine&)>;

// The real starter. On Windows the program's window opens maximised and takes the focus, and a
// command line without a program opens its one argument, an address, in the user's default
// browser.
bool startDetached(const CommandLine& commandLine);

// The command line that opens a web address in the browser: on Windows the fixed Internet
// Explorer path, one blank and the address, neither quoted, or where that program is missing
// the address alone, for the default browser; elsewhere the desktop's URL opener.
CommandLine browserCommandLine(const QString& address);

}  // namespace kestrix::platform
