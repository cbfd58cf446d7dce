#include "platform/end_with_parent.h"

#include <sys/prctl.h>
#include <unistd.h>
#include <QProcess>
#include <csignal>

namespace kestrix::platform {

void endWithParent(QProcess& child) {
    const pid_t parent = getpid();
    // Runs in the child between fork and exec: system calls only.
    child.setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(1);  // the parent died before the line above could take effect
        }
    });
}

}  // namespace kestrix::platform
