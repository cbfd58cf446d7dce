#include "platform/program_start.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#include <string>
#endif

namespace kestrix::platform {

#ifdef Q_OS_WIN

namespace {
const QString internetExplorer =
    QStringLiteral(R"(C:\Program Files\Internet Explorer\IEXPLORE.EXE)");
}  // namespace

CommandLine browserCommandLine(const QString& address) {
    return {internetExplorer, {address}};
}

bool startDetached(const CommandLine& commandLine) {
    // The command line goes to the program exactly as written: path, blank, arguments, no quotes.
    std::wstring exact =
        (QStringList{commandLine.program} + commandLine.arguments).join(u' ').toStdWString();
    QProcess process;
    process.setProgram(commandLine.program);
    process.setCreateProcessArgumentsModifier([&exact](QProcess::CreateProcessArguments* args) {
        args->arguments = exact.data();
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
    return process.startDetached();
}

#else

CommandLine browserCommandLine(const QString& address) {
    return {QStringLiteral("xdg-open"), {address}};
}

bool startDetached(const CommandLine& commandLine) {
    return QProcess::startDetached(commandLine.program, commandLine.arguments);
}

#endif

}  // namespace kestrix::platform
