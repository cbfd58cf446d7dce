#include "platform/system_error.h"

#include <windows.h>
#include <memory>

namespace kestrix::platform {

QString systemError(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(text, ::LocalFree);
    if (length == 0) {
        return QStringLiteral("Windows error %1").arg(error);
    }
    // Windows ends its sentences; ours are put into sentences of their own.
    QString words = QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed();
    if (words.endsWith(u'.')) {
        words.chop(1);
    }
    return words;
}

}  // namespace kestrix::platform
