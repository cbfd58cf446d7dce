#include "platform/program_start.h"

#include <QProcess>

namespace kestrix::platform {

CommandLine browserCommandLine(const QString& address) {
    return {QStringLiteral("xdg-open"), {address}};
}

bool startDetached(const CommandLine& commandLine) {
    return QProcess::startDetached(commandLine.program, commandLine.arguments);
}

}  // namespace kestrix::platform
