#include "platform/session_socket.h"

#include "platform/win32/handles.h"

#include <lmcons.h>

namespace kestrix::platform {

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

}  // namespace kestrix::platform
