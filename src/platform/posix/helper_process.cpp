#include "platform/helper_process.h"

#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <array>
#include <csignal>
#include <cstring>

namespace kestrix::platform {

namespace {

// The variable that tells the helper the descriptor its files come over.
constexpr char handedFilesVariable[] = "KESTRIX_HANDED_FILES";

// The user a helper started as root becomes.
struct Unprivileged {
    uid_t user = 65534;
    gid_t group = 65534;
};

Unprivileged nobody() {
    const passwd* entry = getpwnam("nobody");
    return entry ? Unprivileged{entry->pw_uid, entry->pw_gid} : Unprivileged{};
}

// The regular file at the path, opened for reading without waiting on it; none for anything else,
// which is never opened here (a device may act on being opened).
UniqueFd openRegularFile(const QString& hostPath) {
    const QByteArray path = QFile::encodeName(hostPath);
    struct stat status {};
    if (stat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    UniqueFd file(open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return file;
}

// One byte over the socket, with room for a descriptor beside it.
class FileMessage {
public:
    FileMessage() {
        header_.msg_iov = &content_;
        header_.msg_iovlen = 1;
        header_.msg_control = control_.data();
        header_.msg_controllen = control_.size();
    }
    FileMessage(const FileMessage&) = delete;
    FileMessage& operator=(const FileMessage&) = delete;

    [[nodiscard]] msghdr& header() { return header_; }
    // The room for the descriptor, laid out for one; none when there is none.
    [[nodiscard]] cmsghdr* file() { return CMSG_FIRSTHDR(&header_); }

private:
    char byte_ = 0;
    iovec content_{&byte_, 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(int))> control_{};
    msghdr header_{};
};

}  // namespace

struct HelperProcess::System {
    QProcess process;
    UniqueFd files;  // this end of the socket the helper takes its files from
};

HelperProcess::HelperProcess(QObject* parent)
    : QObject(parent), system_(std::make_unique<System>()) {
    QProcess& process = system_->process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&process, &QProcess::readyReadStandardOutput, this, &HelperProcess::readyRead);
    connect(&process, &QProcess::finished, this, &HelperProcess::finished);
    connect(&process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            emit failedToStart(system_->process.errorString());
        }
    });
}

HelperProcess::~HelperProcess() {
    system_->process.disconnect(this);
    system_->process.kill();
    system_->process.waitForFinished();
}

void HelperProcess::start(const QString& program) {
    std::array<int, 2> ends{};
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends.data()) != 0) {
        emit failedToStart(systemError(errno));
        return;
    }
    system_->files = UniqueFd(ends[0]);
    const UniqueFd helpersEnd(ends[1]);
    const int handed = helpersEnd.get();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(handedFilesVariable), QString::number(handed));
    system_->process.setProcessEnvironment(environment);
    const pid_t parent = getpid();
    // Runs in the child between fork and exec: system calls only.
    system_->process.setChildProcessModifier([parent, handed] {
        // The child ends with the thread that started it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent || fcntl(handed, F_SETFD, 0) != 0) {
            _exit(1);  // the parent died before the line above could take effect
        }
    });
    system_->process.start(program, QStringList());
}

void HelperProcess::hand(const QString& hostPath) {
    const UniqueFd file = openRegularFile(hostPath);
    FileMessage message;
    if (file) {
        cmsghdr* handed = message.file();
        handed->cmsg_level = SOL_SOCKET;
        handed->cmsg_type = SCM_RIGHTS;
        handed->cmsg_len = CMSG_LEN(sizeof(int));
        const int descriptor = file.get();
        std::memcpy(CMSG_DATA(handed), &descriptor, sizeof descriptor);
    } else {
        message.header().msg_control = nullptr;
        message.header().msg_controllen = 0;
    }
    // A helper that has gone takes nothing: its end is told by `finished`.
    (void)sendmsg(system_->files.get(), &message.header(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void HelperProcess::write(const QByteArray& bytes) {
    system_->process.write(bytes);
}

QByteArray HelperProcess::readAll() {
    return system_->process.readAllStandardOutput();
}

void HelperProcess::kill() {
    system_->process.kill();
}

bool HelperProcess::running() const {
    return system_->process.state() != QProcess::NotRunning;
}

qint64 HelperProcess::processId() const {
    return system_->process.processId();
}

bool giveUpRights() {
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0) {
        return false;
    }
    uid_t real = 0;
    uid_t effective = 0;
    uid_t saved = 0;
    if (getresuid(&real, &effective, &saved) != 0) {
        return false;
    }
    if (real != 0 && effective != 0 && saved != 0) {
        return true;  // an ordinary user's rights, which it keeps: it reads as that user would
    }
    // Leaving root drops every capability with it.
    const Unprivileged to = nobody();
    return setgroups(0, nullptr) == 0 && setresgid(to.group, to.group, to.group) == 0 &&
           setresuid(to.user, to.user, to.user) == 0;
}

UniqueHandle takeHandedFile() {
    bool named = false;
    const int from = qEnvironmentVariableIntValue(handedFilesVariable, &named);
    if (!named) {
        return {};
    }
    FileMessage message;
    if (recvmsg(from, &message.header(), MSG_CMSG_CLOEXEC) <= 0) {
        return {};
    }
    const cmsghdr* handed = message.file();
    if (handed == nullptr || handed->cmsg_level != SOL_SOCKET || handed->cmsg_type != SCM_RIGHTS ||
        handed->cmsg_len != CMSG_LEN(sizeof(int))) {
        return {};
    }
    int descriptor = -1;
    std::memcpy(&descriptor, CMSG_DATA(handed), sizeof descriptor);
    return UniqueFd(descriptor);
}

}  // namespace kestrix::platform
