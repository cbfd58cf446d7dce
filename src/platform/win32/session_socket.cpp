#include "platform/session_socket.h"

#include "platform/win32/handles.h"

#include <lmcons.h>
#include <sddl.h>
#include <QByteArray>
#include <memory>

namespace kestrix::platform {

namespace {

// Pipe names as QLocalServer and QLocalSocket make them.
std::wstring pipePath(const QString& name) {
    const QString prefix = QStringLiteral("\\\\.\\pipe\\");
    return win32::wide(name.startsWith(prefix) ? name : prefix + name);
}

// The user a process runs as; empty where it cannot be asked.
QByteArray userOf(HANDLE process) {
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &rawToken)) {
        return {};
    }
    const UniqueHandle token = win32::adopt(rawToken);
    DWORD size = 0;
    (void)::GetTokenInformation(rawToken, TokenUser, nullptr, 0, &size);
    QByteArray buffer(static_cast<qsizetype>(size), '\0');
    if (size == 0 || !::GetTokenInformation(rawToken, TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.constData())->User.Sid;
    return QByteArray(static_cast<const char*>(sid), static_cast<qsizetype>(::GetLengthSid(sid)));
}

// The process at the other end of a pipe: its server, or, seen from the server, its client.
DWORD peerProcess(HANDLE pipe) {
    ULONG server = 0;
    if (!::GetNamedPipeServerProcessId(pipe, &server)) {
        return 0;
    }
    ULONG client = 0;
    if (server == ::GetCurrentProcessId() && ::GetNamedPipeClientProcessId(pipe, &client)) {
        return client;
    }
    return server;
}

// "Owned by this user, and open to this user alone", as a security descriptor.
struct LocalFreed {
    void operator()(void* memory) const { ::LocalFree(memory); }
};
std::unique_ptr<void, LocalFreed> forThisUserAlone() {
    const QByteArray user = userOf(::GetCurrentProcess());
    wchar_t* sidText = nullptr;
    if (user.isEmpty() || !::ConvertSidToStringSidW(
                              reinterpret_cast<PSID>(const_cast<char*>(user.data())), &sidText)) {
        return nullptr;
    }
    const std::unique_ptr<void, LocalFreed> sidOwned(sidText);
    const std::wstring sid(sidText);
    const std::wstring text = L"O:" + sid + L"D:P(A;;GA;;;" + sid + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1,
                                                                &descriptor, nullptr)) {
        return nullptr;
    }
    return std::unique_ptr<void, LocalFreed>(descriptor);
}

}  // namespace

QString sessionSocketName(const QString& program) {
    // A pipe's name: the same for the user's starts in one logon session, which has its own
    // desktop; another for another user or session.
    std::wstring user(UNLEN + 1, L'\0');
    auto length = static_cast<DWORD>(user.size());
    const QString who =
        ::GetUserNameW(user.data(), &length) ? QString::fromWCharArray(user.c_str()) : QString();
    DWORD session = 0;
    (void)::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    return program + u'-' + who + u'-' + QString::number(session);
}

// The first instance decides who may open the pipe and add instances to it; QLocalServer's
// own instances, added while this one lives, keep the name once it goes.
std::optional<UniqueHandle> holdSessionName(const QString& name) {
    const auto descriptor = forThisUserAlone();
    if (!descriptor) {
        return std::nullopt;
    }
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), descriptor.get(), FALSE};
    UniqueHandle pipe = win32::adopt(::CreateNamedPipeW(
        pipePath(name).c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 0, 0, 3000,
        &security));
    if (!pipe) {
        return std::nullopt;
    }
    return pipe;
}

bool peerIsThisUser(qintptr socket) {
    const DWORD peer = peerProcess(reinterpret_cast<HANDLE>(socket));
    if (peer == 0) {
        return false;
    }
    const UniqueHandle process =
        win32::adopt(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, peer));
    if (!process) {
        return false;
    }
    const QByteArray theirs = userOf(win32::native(process));
    return !theirs.isEmpty() && theirs == userOf(::GetCurrentProcess());
}

void letPeerComeToFront(qintptr socket) {
    if (const DWORD peer = peerProcess(reinterpret_cast<HANDLE>(socket))) {
        (void)::AllowSetForegroundWindow(peer);
    }
}

}  // namespace kestrix::platform
