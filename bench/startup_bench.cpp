// Start-up: time from starting the process to the main window's first paint, and peak memory,
// beside two bare Qt windows measured in the same run: one that shows text in the font of
// Kestrix's controls (a label and a button), which pays for the font database as any window
// that shows a word does, and an empty one, which does not. Kestrix starts as it mostly does,
// with the Info.ini an earlier start left, and as it does the first time, when it writes one
// (the disk's flush shows in that time). And Kestrix whose Info.ini is a link to
// /proc/self/pagemap, which says it is empty while it holds gigabytes, up to the first paint of
// the message that says it cannot be read. The driver starts the kinds of window in turn, as
// child processes, several rounds, so that load on the machine falls on all alike, and prints
// medians and Kestrix's ratios to the two bare windows.
#include "app/kestrix_window.h"
#include "app/program.h"
#include "peak_memory.h"
#include "ui/form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// Reports the first frame of a window once it is painted whole, then ends the process. A
// window paints itself before its controls, so the report waits for the frame to end.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QMetaObject::invokeMethod(this, &FirstPaint::report, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void report() {
        std::printf("painted %ld\n", peakMemoryKiB());
        std::fflush(stdout);
        std::_Exit(0);
    }
};

// A window of Kestrix's client size; with text, a caption and a button as Kestrix draws them.
int runBareWindow(FirstPaint& paint, bool withText) {
    QMainWindow bare;
    bare.resize(377, 203);
    if (withText) {
        bare.setFont(kestrix::ui::designFont());
        auto* client = new QWidget(&bare);
        (new QLabel(QStringLiteral("Total Deleted:"), client))->setGeometry(8, 8, 68, 13);
        (new QPushButton(QStringLiteral("Scan"), client))->setGeometry(256, 8, 113, 25);
        bare.setCentralWidget(client);
    }
    bare.installEventFilter(&paint);
    bare.show();
    return QApplication::exec();
}

int runChild(int argc, char* argv[], const QString& mode) {
    QApplication application(argc, argv);
    FirstPaint paint;
    if (mode == u"empty" || mode == u"text") {
        return runBareWindow(paint, mode == u"text");
    }
    kestrix::ui::applyClassicStyle();
    QTemporaryDir drive;
    kestrix::app::Program program(
        {kestrix::platform::DriveMap::withDriveC(drive.path()), drive.path()});
    const QString settings = drive.filePath(QStringLiteral("Info.ini"));
    if (mode == u"kestrix") {
        QFile earlier(settings);
        if (!earlier.open(QIODevice::WriteOnly) ||
            earlier.write("[Kestrix Settings]\r\nTOTAL=0\r\n") < 0) {
            return 1;
        }
    }
    if (mode == u"pagemap") {
        QFile::link(QStringLiteral("/proc/self/pagemap"), settings);
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

struct Medians {
    double ms;
    double memoryKiB;
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QStringList modes = {QStringLiteral("empty"), QStringLiteral("text"),
                               QStringLiteral("kestrix"), QStringLiteral("first"),
                               QStringLiteral("pagemap")};
    if (argc > 1 && modes.contains(QString::fromLatin1(argv[1]))) {
        return runChild(argc, argv, QString::fromLatin1(argv[1]));
    }
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::map<QString, std::vector<double>> times, memory;
    for (int i = 0; i < runs; ++i) {
        for (const QString& mode : modes) {
            const Sample sample = runOnce(self, mode);
            times[mode].push_back(sample.ms);
            memory[mode].push_back(static_cast<double>(sample.maxRssKb));
        }
    }
    std::map<QString, Medians> medians;
    for (const QString& mode : modes) {
        medians[mode] = {median(times[mode]), median(memory[mode])};
        std::printf("%-8s first paint %.1f ms (median of %d), peak memory %.0f KiB\n",
                    qPrintable(mode), medians[mode].ms, runs, medians[mode].memoryKiB);
    }
    for (const QString& start : {QStringLiteral("kestrix"), QStringLiteral("first")}) {
        for (const QString& baseline : {QStringLiteral("text"), QStringLiteral("empty")}) {
            std::printf("%-7s / %-5s first paint %.2fx, peak memory %.2fx\n", qPrintable(start),
                        qPrintable(baseline), medians[start].ms / medians[baseline].ms,
                        medians[start].memoryKiB / medians[baseline].memoryKiB);
        }
    }
    return 0;
}
