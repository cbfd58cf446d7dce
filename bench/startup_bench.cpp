// Start-up: time from starting the process to the main window's first paint, and peak memory,
// beside a bare Qt window measured in the same run; and Kestrix whose Info.ini is a link to
// /proc/self/pagemap, which says it is empty while it holds gigabytes, up to the first paint of
// the message that says it cannot be read. The driver starts each kind of window as a child
// process several times and prints medians.
#include "app/kestrix_window.h"
#include "app/program.h"
#include "peak_memory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Reports the first paint of a window, then ends the process.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::printf("painted %ld\n", peakMemoryKiB());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

int runChild(int argc, char* argv[], const QString& mode) {
    QApplication application(argc, argv);
    FirstPaint paint;
    if (mode == u"bare") {
        QMainWindow bare;
        bare.resize(377, 203);
        bare.installEventFilter(&paint);
        bare.show();
        return QApplication::exec();
    }
    kestrix::ui::applyClassicStyle();
    QTemporaryDir drive;
    kestrix::app::Program program(
        {kestrix::platform::DriveMap::withDriveC(drive.path()), drive.path()});
    if (mode == u"pagemap") {
        QFile::link(QStringLiteral("/proc/self/pagemap"),
                    drive.filePath(QStringLiteral("Info.ini")));
        application.installEventFilter(&paint);  // the message comes before the window
    } else {
        program.frmKestrix->installEventFilter(&paint);
    }
    program.start();
    return QApplication::exec();
}

struct Sample {
    double ms;
    long maxRssKb;
};

Sample runOnce(const QString& self, const QString& mode) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(self, {mode});
    child.waitForFinished(30'000);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const QByteArray out = child.readAllStandardOutput().trimmed();
    return {ms, out.startsWith("painted ") ? out.mid(8).toLong() : -1};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QStringList modes = {QStringLiteral("bare"), QStringLiteral("kestrix"),
                               QStringLiteral("pagemap")};
    if (argc > 1 && modes.contains(QString::fromLatin1(argv[1]))) {
        return runChild(argc, argv, QString::fromLatin1(argv[1]));
    }
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int runs = 15;
    for (const QString& mode : modes) {
        std::vector<double> times, memory;
        for (int i = 0; i < runs; ++i) {
            const Sample sample = runOnce(self, mode);
            times.push_back(sample.ms);
            memory.push_back(static_cast<double>(sample.maxRssKb));
        }
        std::printf("%-8s first paint %.1f ms (median of %d), peak memory %.0f KiB\n",
                    qPrintable(mode), median(times), runs, median(memory));
    }
    return 0;
}
