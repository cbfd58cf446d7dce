#include "platform/program_start.h"

#include <QProcess>

namespace kestrix::platform {

CommandLine browserCommandLine(const QString& address) {
    return {QStringLiteral("xdg-open"), {address}};
}

bool openThroughDesktop(const QString&) {
    return false;  // the URL opener is started as a program of its own
}

bool startDetached(const CommandLine& commandLine) {
    return startThrough(commandLine, openThroughDesktop);
}

bool startThrough(const CommandLine& commandLine, const DesktopShell& desktop) {
    if (commandLine.program.isEmpty()) {
        return commandLine.arguments.size() == 1 && desktop(commandLine.arguments.front());
    }
    return QProcess::startDetached(commandLine.program, commandLine.arguments);
}

}  // namespace kestrix::platform
