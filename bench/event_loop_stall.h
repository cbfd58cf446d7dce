#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <functional>

// The CPU time this thread has used, in milliseconds.
inline double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The longest the event loop went without running a 1 ms timer while `done` did not hold, and
// the most CPU time the user-interface thread itself spent within one such gap (a gap longer
// than that is the machine running something else).
struct Stall {
    double longestGapMs;
    double longestCpuMs;
    double elapsedMs;
};

inline Stall longestGapUntil(const std::function<bool()>& done, int timeoutMs) {
    QTimer timer;
    timer.setInterval(1);
    timer.setTimerType(Qt::PreciseTimer);
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    double longest = 0;
    double longestCpu = 0;
    double cpuAtTick = cpuMs();
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = std::max(longest, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        longestCpu = std::max(longestCpu, cpuMs() - cpuAtTick);
        sinceTick.start();
        cpuAtTick = cpuMs();
        if (done() || clock.elapsed() > timeoutMs) {
            loop.quit();
        }
    });
    clock.start();
    sinceTick.start();
    timer.start();
    loop.exec();
    return {longest, longestCpu, static_cast<double>(clock.nsecsElapsed()) / 1e6};
}
