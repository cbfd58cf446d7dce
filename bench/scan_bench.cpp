// Scan speed: milliseconds per file for a scan of 1000 files on the offscreen platform, beside
// the period at which the 1 ms timer alone ticks, measured in the same run.
#include "app/kestrix_window.h"
#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

constexpr int fileCount = 1000;

class QuitWhenEnabled : public QObject {
public:
    explicit QuitWhenEnabled(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && static_cast<QWidget*>(watched)->isEnabled()) {
            loop_.quit();
        }
        return false;
    }

private:
    QEventLoop& loop_;
};

double timerPeriodMs(int ticks) {
    QTimer timer;
    timer.setInterval(1);
    timer.setTimerType(Qt::PreciseTimer);
    int seen = 0;
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++seen == ticks) {
            loop.quit();
        }
    });
    QElapsedTimer clock;
    clock.start();
    timer.start();
    loop.exec();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6 / seen;
}

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct ScanFigures {
    double wallMsPerFile;
    double cpuMsPerFile;
    double tickMs;  // mean time inside one tick, yields included
};

// Times each tick: from the timer event reaching tmrScan to the end of the scan's handler.
class TickClock : public QObject {
public:
    explicit TickClock(QTimer* timer) {
        timer->installEventFilter(this);
        connect(timer, &QTimer::timeout, this, [this] {
            total_ += static_cast<double>(clock_.nsecsElapsed()) / 1e6;
            ++ticks_;
        });
    }
    [[nodiscard]] double meanMs() const { return ticks_ ? total_ / ticks_ : 0.0; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            clock_.start();
        }
        return false;
    }

private:
    QElapsedTimer clock_;
    double total_ = 0;
    int ticks_ = 0;
};

ScanFigures scanMsPerFile(const QString& driveC) {
    using namespace kestrix;
    app::Program program({platform::DriveMap::withDriveC(driveC), driveC});
    program.start();
    app::FrmKestrix& window = *program.frmKestrix;
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the main window did not show\n");
    }
    // The scan has finished when Scan is enabled again.
    QEventLoop loop;
    QuitWhenEnabled quit(loop);
    window.cmdScan->installEventFilter(&quit);
    const TickClock ticks(window.tmrScan);
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = cpuMs();
    window.cmdScan->click();
    loop.exec();
    const double cpuPerFile = (cpuMs() - cpuStart) / fileCount;
    const bool finished = !window.tmrScan->isActive();
    const double perFile = static_cast<double>(clock.nsecsElapsed()) / 1e6 / fileCount;
    if (!finished || window.lblObjects->text() != QStringLiteral("1,000/1,000")) {
        std::fprintf(stderr, "scan did not finish: %s\n", qPrintable(window.lblObjects->text()));
    }
    return {perFile, cpuPerFile, ticks.meanMs()};
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestrix::ui::applyClassicStyle();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir root;
    const QString fonts = root.filePath(QStringLiteral("windows/Fonts"));
    QDir().mkpath(fonts);
    for (int i = 0; i < fileCount; ++i) {
        // Every third file is a reference font, the rest excessive.
        const QString name = i % 3 == 0 ? QStringLiteral("arial.%1.ttf").arg(i)
                                        : QStringLiteral("font%1.ttf").arg(i);
        QFile file(fonts + u'/' + name);
        file.open(QIODevice::WriteOnly);
    }
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3;
    for (int round = 1; round <= rounds; ++round) {
        const double timer = timerPeriodMs(fileCount);
        const ScanFigures scan = scanMsPerFile(root.path());
        std::printf(
            "round %d: timer alone %.3f ms/tick, scan %.3f ms/file (%.3f ms CPU, %.3f ms in the "
            "tick), ratio %.2f\n",
            round, timer, scan.wallMsPerFile, scan.cpuMsPerFile, scan.tickMs,
            scan.wallMsPerFile / timer);
    }
    return 0;
}
