#include "platform/program_start.h"

#include <windows.h>

#include <shellapi.h>
#include <QFileInfo>
#include <QProcess>
#include <string>

namespace kestrix::platform {

namespace {

const QString internetExplorer =
    QStringLiteral(R"(C:\Program Files\Internet Explorer\IEXPLORE.EXE)");

bool openInDefaultBrowser(const QString& address) {
    const std::wstring wide = address.toStdWString();
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED));
    return result > 32;  // smaller values are the reasons it failed
}

}  // namespace

CommandLine browserCommandLine(const QString& address) {
    // Windows 11 keeps Internet Explorer only as a redirect, and some installs have none: the
    // address alone then goes to the user's default browser.
    if (!QFileInfo::exists(internetExplorer)) {
        return {QString(), {address}};
    }
    return {internetExplorer, {address}};
}

bool startDetached(const CommandLine& commandLine) {
    if (commandLine.program.isEmpty()) {
        return commandLine.arguments.size() == 1 &&
               openInDefaultBrowser(commandLine.arguments.front());
    }
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

}  // namespace kestrix::platform
