#include "platform/helper_process.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"

#include <QDir>
#include <QLocalSocket>
#include <QUuid>
#include <QWinEventNotifier>
#include <array>

namespace kestrix::platform {

namespace {

QString lastError() {
    return systemError(static_cast<int>(::GetLastError()));
}

using Sid = std::array<BYTE, SECURITY_MAX_SID_SIZE>;

bool wellKnown(WELL_KNOWN_SID_TYPE type, Sid& sid) {
    DWORD size = sid.size();
    return ::CreateWellKnownSid(type, nullptr, sid.data(), &size);
}

// This process's token without its privileges, with Administrators for denying access only,
// and at low integrity: one a process may start another with, as it restricts its own.
UniqueHandle leastToken() {
    HANDLE own = nullptr;
    if (!::OpenProcessToken(
            ::GetCurrentProcess(),
            TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT, &own)) {
        return {};
    }
    const UniqueHandle token = win32::adopt(own);
    Sid administrators{};
    Sid low{};
    if (!wellKnown(WinBuiltinAdministratorsSid, administrators) ||
        !wellKnown(WinLowLabelSid, low)) {
        return {};
    }
    SID_AND_ATTRIBUTES denied{administrators.data(), 0};
    HANDLE restricted = nullptr;
    if (!::CreateRestrictedToken(win32::native(token), DISABLE_MAX_PRIVILEGE, 1, &denied, 0,
                                 nullptr, 0, nullptr, &restricted)) {
        return {};
    }
    UniqueHandle least = win32::adopt(restricted);
    TOKEN_MANDATORY_LABEL label{{low.data(), SE_GROUP_INTEGRITY}};
    if (!::SetTokenInformation(win32::native(least), TokenIntegrityLevel, &label,
                               sizeof label + ::GetLengthSid(low.data()))) {
        return {};
    }
    return least;
}

// A pipe both ways between this process and the helper: this end overlapped, as Qt's local
// socket reads and writes it; the other end to be inherited.
struct Pipe {
    UniqueHandle ours;
    UniqueHandle theirs;
};

Pipe helperPipe() {
    const std::wstring name = L"\\\\.\\pipe\\kestrix-helper-" +
                              QUuid::createUuid().toString(QUuid::WithoutBraces).toStdWString();
    UniqueHandle ours = win32::adopt(::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64 * 1024,
        64 * 1024, 0, nullptr));
    if (!ours) {
        return {};
    }
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle theirs = win32::adopt(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                     &inherited, OPEN_EXISTING, 0, nullptr));
    return theirs ? Pipe{std::move(ours), std::move(theirs)} : Pipe{};
}

// Another handle of the same object, to be inherited; none where there is none.
UniqueHandle inheritable(HANDLE handle) {
    HANDLE copy = nullptr;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, TRUE,
                           DUPLICATE_SAME_ACCESS)) {
        return {};
    }
    return win32::adopt(copy);
}

// A job that ends what is in it once its last handle closes: this process holds the only one,
// and its handles all close when it ends, however it ends.
UniqueHandle endingJob() {
    UniqueHandle job = win32::adopt(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !::SetInformationJobObject(win32::native(job), JobObjectExtendedLimitInformation,
                                           &limits, sizeof limits)) {
        return {};
    }
    return job;
}

}  // namespace

struct HelperProcess::System {
    UniqueHandle job;
    UniqueHandle process;
    qint64 id = 0;
    QLocalSocket channel;
    QWinEventNotifier ended;
};

HelperProcess::HelperProcess(QObject* parent)
    : QObject(parent), system_(std::make_unique<System>()) {
    connect(&system_->channel, &QLocalSocket::readyRead, this, &HelperProcess::readyRead);
    connect(&system_->ended, &QWinEventNotifier::activated, this, [this] {
        system_->ended.setEnabled(false);
        // Its end of the pipe closed with it: what it wrote before comes first.
        system_->channel.waitForDisconnected(1000);
        if (system_->channel.bytesAvailable() > 0) {
            emit readyRead();
        }
        emit finished();
    });
}

HelperProcess::~HelperProcess() {
    system_->channel.disconnect(this);
    system_->ended.disconnect(this);
    if (running()) {
        ::TerminateProcess(win32::native(system_->process), 1);
        ::WaitForSingleObject(win32::native(system_->process), INFINITE);
    }
}

void HelperProcess::start(const QString& program) {
    // Created suspended, it runs its first instruction in its job, with the least token.
    const UniqueHandle token = leastToken();
    if (!token) {
        emit failedToStart(lastError());
        return;
    }
    system_->job = endingJob();
    Pipe pipe = helperPipe();
    const UniqueHandle output = inheritable(win32::native(pipe.theirs));
    const UniqueHandle errors = inheritable(::GetStdHandle(STD_ERROR_HANDLE));
    if (!system_->job || !output) {
        emit failedToStart(lastError());
        return;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = win32::native(pipe.theirs);
    startup.hStdOutput = win32::native(output);
    startup.hStdError = errors ? win32::native(errors) : nullptr;
    const std::wstring path = win32::wide(QDir::toNativeSeparators(program));
    std::wstring commandLine = L'"' + path + L'"';
    PROCESS_INFORMATION created{};
    if (!::CreateProcessAsUserW(win32::native(token), path.c_str(), commandLine.data(), nullptr,
                                nullptr, TRUE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                                nullptr, &startup, &created)) {
        emit failedToStart(lastError());
        return;
    }
    system_->process = win32::adopt(created.hProcess);
    const UniqueHandle thread = win32::adopt(created.hThread);
    system_->id = created.dwProcessId;
    if (!::AssignProcessToJobObject(win32::native(system_->job), created.hProcess)) {
        const QString reason = lastError();
        ::TerminateProcess(created.hProcess, 1);
        emit failedToStart(reason);
        return;
    }
    system_->channel.setSocketDescriptor(static_cast<qintptr>(pipe.ours.release()),
                                         QLocalSocket::ConnectedState);
    system_->ended.setHandle(created.hProcess);
    system_->ended.setEnabled(true);
    ::ResumeThread(created.hThread);
}

void HelperProcess::hand(const QString&) {
    // The helper reads with the user's rights, which reach every font folder.
}

void HelperProcess::write(const QByteArray& bytes) {
    system_->channel.write(bytes);
}

QByteArray HelperProcess::readAll() {
    return system_->channel.readAll();
}

void HelperProcess::kill() {
    if (system_->process) {
        ::TerminateProcess(win32::native(system_->process), 1);
    }
}

bool HelperProcess::running() const {
    return system_->process &&
           ::WaitForSingleObject(win32::native(system_->process), 0) == WAIT_TIMEOUT;
}

qint64 HelperProcess::processId() const {
    return system_->id;
}

bool giveUpRights() {
    return true;  // the program started it with the least token already
}

UniqueHandle takeHandedFile() {
    return {};
}

}  // namespace kestrix::platform
