#include "support/isolated_network.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace kestrix::test::isolated_network {

namespace {

QString& whyMissing() {
    static QString reason = QStringLiteral("the network namespace was not entered");
    return reason;
}

// A link whose far end answers nothing, and a neighbour entry so that one address on it is
// resolved and simply never answers.
const char* const layout = R"(set -e
ip link set lo up
ip link add kx0 type veth peer name kx1
ip link set kx1 up
ip link set kx0 up
ip address add 198.18.0.1/24 dev kx0
ip neighbour add 198.18.0.2 lladdr 02:00:00:00:00:02 dev kx0 nud permanent
)";

bool writeSetting(const char* path, const char* value) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(value) > 0;
}

QString layOut() {
    if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty()) {
        return QStringLiteral("the ip command (iproute2) is not installed");
    }
    QProcess ip;
    ip.setProcessChannelMode(QProcess::MergedChannels);
    ip.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(layout)});
    if (!ip.waitForFinished(10'000) || ip.exitStatus() != QProcess::NormalExit ||
        ip.exitCode() != 0) {
        return QStringLiteral("ip could not lay out the namespace: ") +
               QString::fromLocal8Bit(ip.readAll()).trimmed();
    }
    // One SYN retry makes a time-out take three seconds; one quick address resolution probe
    // makes an absent host unreachable at once.
    if (!writeSetting("/proc/sys/net/ipv4/tcp_syn_retries", "1") ||
        !writeSetting("/proc/sys/net/ipv4/neigh/kx0/mcast_solicit", "1") ||
        !writeSetting("/proc/sys/net/ipv4/neigh/kx0/retrans_time_ms", "100")) {
        return QStringLiteral("the namespace's network settings cannot be written");
    }
    return {};
}

}  // namespace

void enter() {
    const int home = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    if (home < 0 || ::unshare(CLONE_NEWNET) != 0) {
        whyMissing() = QStringLiteral("no network namespace can be made here (it needs root): ") +
                       QString::fromLocal8Bit(std::strerror(errno));
    } else if (QString reason = layOut(); !reason.isEmpty()) {
        whyMissing() = reason;
        ::setns(home, CLONE_NEWNET);  // back home, where loopback works
    } else {
        whyMissing().clear();
    }
    if (home >= 0) {
        ::close(home);
    }
}

QString missing() {
    return whyMissing();
}

}  // namespace kestrix::test::isolated_network
