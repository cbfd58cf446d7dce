#include "platform/end_with_parent.h"

#include "platform/win32/handles.h"

#include <QObject>
#include <QProcess>

namespace kestrix::platform {

namespace {

// A job that ends what is in it once its last handle closes. The child's QProcess holds the
// only one, and this process's handles all close when it ends, however it ends.
class EndingJob : public QObject {
public:
    explicit EndingJob(QProcess& child)
        : QObject(&child), job_(win32::adopt(::CreateJobObjectW(nullptr, nullptr))) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job_) {
            (void)::SetInformationJobObject(win32::native(job_), JobObjectExtendedLimitInformation,
                                            &limits, sizeof limits);
        }
        connect(&child, &QProcess::started, this, [this, &child] { take(child); });
    }

private:
    void take(const QProcess& child) {
        const UniqueHandle process = win32::adopt(::OpenProcess(
            PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(child.processId())));
        if (job_ && process) {
            (void)::AssignProcessToJobObject(win32::native(job_), win32::native(process));
        }
    }

    UniqueHandle job_;
};

}  // namespace

void endWithParent(QProcess& child) {
    new EndingJob(child);  // owned by the child's QProcess
}

}  // namespace kestrix::platform
