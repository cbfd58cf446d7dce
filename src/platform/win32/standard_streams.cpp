#include "platform/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <cstdio>

namespace kestrix::platform {

namespace {

bool leadsNowhere(DWORD stream) {
    const HANDLE handle = ::GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
           ::GetFileType(handle) == FILE_TYPE_UNKNOWN;
}

}  // namespace

OwnStream takeStandardOutput() {
    std::fflush(stdout);
    const int own = ::_dup(::_fileno(stdout));
    if (own < 0) {
        return nullptr;
    }
    // Both the C library's descriptor and the Windows handle, which libraries may write to.
    if (::_dup2(::_fileno(stderr), ::_fileno(stdout)) != 0 ||
        !::SetStdHandle(STD_OUTPUT_HANDLE, ::GetStdHandle(STD_ERROR_HANDLE))) {
        ::_close(own);
        return nullptr;
    }
    (void)::_setmode(own, _O_BINARY);
    OwnStream stream(::_fdopen(own, "wb"));
    if (!stream) {
        ::_close(own);
    }
    return stream;
}

void useBinaryStandardStreams() {
    (void)::_setmode(::_fileno(stdin), _O_BINARY);
    (void)::_setmode(::_fileno(stdout), _O_BINARY);
}

void reachStartingConsole() {
    const bool output = leadsNowhere(STD_OUTPUT_HANDLE);
    const bool error = leadsNowhere(STD_ERROR_HANDLE);
    if ((!output && !error) || !::AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (output) {
        (void)std::freopen("CONOUT$", "w", stdout);
    }
    if (error) {
        (void)std::freopen("CONOUT$", "w", stderr);
    }
}

}  // namespace kestrix::platform
