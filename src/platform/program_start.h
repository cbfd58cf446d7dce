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

// The desktop's shell: opens a document or an address, given as one argument, as the user
// signed in to the desktop opens it, in the program chosen for it and with that user's ordinary
// rights, whatever rights this program holds. False where there is no such shell to ask.
using DesktopShell = std::function<bool(const QString& document)>;

// The desktop's own shell: on Windows Explorer's, asked through its desktop window; none
// elsewhere.
[[nodiscard]] bool openThroughDesktop(const QString& document);

// The real starter. The program's window opens maximised and takes the focus. A command line
// without a program opens its one argument through the desktop's shell, and nothing is started
// where there is none: the program's own rights never reach what opens an address.
bool startDetached(const CommandLine& commandLine);
// The same, with `desktop` asked in place of the desktop's own shell.
bool startThrough(const CommandLine& commandLine, const DesktopShell& desktop);

// The command line that opens a web address in the browser: on Windows the address alone, for
// the user's default browser, started by the desktop's shell (Kestrix runs elevated there, and
// what it starts itself would too); elsewhere the desktop's URL opener.
CommandLine browserCommandLine(const QString& address);

}  // namespace kestrix::platform
