#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace kestrix::test {

// Watches the event loop of the thread it is made on: a precise timer ticks every few
// milliseconds, and the longest time between two ticks is the longest the loop was held up.
class EventLoopGaps {
public:
    EventLoopGaps() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_,
                         [this] { longest_ = std::max(longest_, sinceTick_.restart()); });
        sinceTick_.start();
        timer_.start(tickMs);
    }

    // In milliseconds, the time since the last tick included.
    [[nodiscard]] qint64 longest() const { return std::max(longest_, sinceTick_.elapsed()); }

private:
    static constexpr int tickMs = 5;
    QTimer timer_;
    QElapsedTimer sinceTick_;
    qint64 longest_ = 0;
};

}  // namespace kestrix::test
