#include "platform/program_start.h"

#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <QProcess>
#include <memory>
#include <string>

namespace kestrix::platform {

namespace {

struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using Com = std::unique_ptr<Interface, Release>;

// The interface `iid` of an object, when it has it; the object is released either way.
template <typename Interface, typename From>
Com<Interface> as(Com<From> object, REFIID iid) {
    void* asked = nullptr;
    return Com<Interface>(object && SUCCEEDED(object->QueryInterface(iid, &asked))
                              ? static_cast<Interface*>(asked)
                              : nullptr);
}

// The shell's own object behind the desktop window, when Explorer runs it: what it starts
// runs with the rights of the user signed in to the desktop.
Com<IShellDispatch2> desktopShell() {
    void* made = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, &made))) {
        return nullptr;
    }
    const Com<IShellWindows> windows(static_cast<IShellWindows*>(made));
    VARIANT desktop{};
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none{};
    long window = 0;
    IDispatch* found = nullptr;
    if (windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &found) !=
        S_OK) {
        return nullptr;
    }
    const auto services = as<IServiceProvider>(Com<IDispatch>(found), IID_IServiceProvider);
    IShellBrowser* browser = nullptr;
    if (!services || FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                                   reinterpret_cast<void**>(&browser)))) {
        return nullptr;
    }
    const Com<IShellBrowser> topLevel(browser);
    IShellView* view = nullptr;
    if (FAILED(topLevel->QueryActiveShellView(&view))) {
        return nullptr;
    }
    const Com<IShellView> active(view);
    void* background = nullptr;
    if (FAILED(active->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, &background))) {
        return nullptr;
    }
    const auto folderView = as<IShellFolderViewDual>(
        Com<IDispatch>(static_cast<IDispatch*>(background)), IID_IShellFolderViewDual);
    IDispatch* application = nullptr;
    if (!folderView || FAILED(folderView->get_Application(&application))) {
        return nullptr;
    }
    return as<IShellDispatch2>(Com<IDispatch>(application), IID_IShellDispatch2);
}

bool shellExecute(IShellDispatch2& shell, const QString& document) {
    const std::wstring name = document.toStdWString();
    const BSTR file = ::SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    VARIANT none{};
    VARIANT maximised{};
    maximised.vt = VT_I4;
    maximised.lVal = SW_SHOWMAXIMIZED;
    // The program it starts may take the focus from this one.
    (void)::CoAllowSetForegroundWindow(&shell, nullptr);
    const bool started = file && SUCCEEDED(shell.ShellExecute(file, none, none, none, maximised));
    ::SysFreeString(file);
    return started;
}

}  // namespace

bool openThroughDesktop(const QString& document) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool opened = false;
    if (SUCCEEDED(com) || com == RPC_E_CHANGED_MODE) {
        const Com<IShellDispatch2> shell = desktopShell();
        opened = shell && shellExecute(*shell, document);
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return opened;
}

CommandLine browserCommandLine(const QString& address) {
    return {QString(), {address}};
}

bool startDetached(const CommandLine& commandLine) {
    return startThrough(commandLine, openThroughDesktop);
}

bool startThrough(const CommandLine& commandLine, const DesktopShell& desktop) {
    if (commandLine.program.isEmpty()) {
        return commandLine.arguments.size() == 1 && desktop(commandLine.arguments.front());
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
