// Scan speed: milliseconds per file for a scan of 1000 files on the offscreen platform, beside
// the period at which the 1 ms timer alone ticks, measured in the same run; once without the
// found fonts' details and once with them, a person hovering the newest row all through the
// scan. Then the details: how long the rows' fonts take to be read in idle time after the scan
// and the longest the window waited meanwhile, and how long the font reader takes over 1000
// font files. A scan without details runs once more over a folder in which a third of the files
// are named as Windows' own fonts; and what asking a file's owner costs.
#include "app/kestrix_window.h"
#include "app/program.h"
#include "details/font_reader.h"
#include "event_loop_stall.h"
#include "platform/file_owner.h"
#include "scan/windows_fonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHelpEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

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

// Moves the mouse onto the newest row now and then, as a person waiting for the scan might.
class Hover : public QObject {
public:
    explicit Hover(kestrix::ui::FoundList& list) : list_(list) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (list_.rowCount() > 0) {
                const QPoint at = list_.visualItemRect(list_.item(0)).center();
                QHelpEvent event(QEvent::ToolTip, at, list_.viewport()->mapToGlobal(at));
                QCoreApplication::sendEvent(list_.viewport(), &event);
            }
        });
        timer_.start(16);
    }

private:
    kestrix::ui::FoundList& list_;
    QTimer timer_;
};

bool everyRowDescribed(const kestrix::ui::FoundList& list) {
    for (int row = 1; row <= list.rowCount(); ++row) {
        const QString description = list.rowDescription(row);
        if (description.isEmpty() || description.contains(QStringLiteral("Reading"))) {
            return false;
        }
    }
    return true;
}

bool previewShown() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->objectName() == QStringLiteral("frmPreview") && window->isVisible();
    });
}

// After a scan with details: the reading of every row's font in idle time, then a preview of
// the newest row, from Preview to the window showing.
struct DetailsFigures {
    Stall reading;
    Stall preview;
};

// fontReader: none runs the scan without the found fonts' details; hovered: a person keeps the
// mouse on the newest row all through the scan, so its tooltip shows and changes.
ScanFigures scanMsPerFile(const QString& driveC, const QString& fontReader, bool hovered,
                          std::optional<DetailsFigures>& details) {
    using namespace kestrix;
    app::Environment environment{platform::DriveMap::withDriveC(driveC), driveC};
    environment.fontReader = fontReader;
    app::Program program(environment);
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
    std::optional<Hover> hover;
    if (hovered) {
        hover.emplace(*window.lstFonts);
    }
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
    hover.reset();
    if (!fontReader.isEmpty()) {
        const Stall reading =
            longestGapUntil([&] { return everyRowDescribed(*window.lstFonts); }, 60'000);
        emit window.lstFonts->previewAsked(1);
        details = {reading, longestGapUntil(previewShown, 10'000)};
    }
    return {perFile, cpuPerFile, ticks.meanMs()};
}

// Real font files of the machine's font packages, copied in turn under the bench's names.
QStringList realFonts() {
    QStringList fonts;
    for (const QString& folder : {QStringLiteral("/usr/share/fonts/truetype/dejavu"),
                                  QStringLiteral("/usr/share/wine/fonts")}) {
        for (const QFileInfo& file :
             QDir(folder).entryInfoList({QStringLiteral("*.ttf"), QStringLiteral("*.fon")})) {
            fonts << file.filePath();
        }
    }
    return fonts;
}

// The font reader alone over `files`: milliseconds for all of them, its start included.
double readAll(const QString& fontReader, const QStringList& files) {
    kestrix::details::FontReader reader(fontReader, kestrix::details::readerPatience);
    int fonts = 0;
    QObject::connect(&reader, &kestrix::details::FontReader::verdictRead,
                     [&](const QString&, const kestrix::details::FontVerdict& verdict) {
                         fonts += verdict.kind == kestrix::details::FontVerdict::Kind::Font;
                     });
    QEventLoop loop;
    QObject::connect(&reader, &kestrix::details::FontReader::becameIdle, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    for (const QString& file : files) {
        reader.request(file, {file, false});
    }
    loop.exec();
    if (fonts != files.size()) {
        std::fprintf(stderr, "only %d of %lld files read as fonts\n", fonts,
                     static_cast<long long>(files.size()));
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Real font files under the bench's names in `folder`: every third a reference font; of the
// others, every other one named as one of Windows' own where `windowsOwn`, the rest excessive.
QStringList layOut(const QString& folder, const QStringList& sources, bool windowsOwn) {
    QDir().mkpath(folder);
    const QStringList windowsNames = kestrix::scan::windowsFontNames();
    QStringList copies;
    for (int i = 0; i < fileCount; ++i) {
        const QString& source = sources[i % sources.size()];
        const QString suffix = QFileInfo(source).suffix();
        QString base = QStringLiteral("font");
        if (i % 3 == 0) {
            base = QStringLiteral("arial");
        } else if (windowsOwn && i % 3 == 1) {
            base = kestrix::scan::BaseName(windowsNames[i % windowsNames.size()]);
        }
        copies << folder + QStringLiteral("/%1.%2.%3").arg(base).arg(i).arg(suffix);
        QFile::copy(source, copies.back());
    }
    return copies;
}

// Microseconds a file takes to ask who owns it.
double ownerLookupUs(const QStringList& files) {
    QElapsedTimer clock;
    clock.start();
    int windows = 0;
    for (const QString& file : files) {
        windows += kestrix::platform::ownerOf(file) == kestrix::platform::FileOwner::Windows;
    }
    const double perFile = static_cast<double>(clock.nsecsElapsed()) / 1e3 / files.size();
    if (windows != 0) {
        std::fprintf(stderr, "%d bench files owned by Windows\n", windows);
    }
    return perFile;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestrix::ui::applyClassicStyle();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString fontReader = QStringLiteral(KESTRIX_FONT_READER);
    const QStringList sources = realFonts();
    QTemporaryDir root;
    const QStringList copies =
        layOut(root.filePath(QStringLiteral("windows/Fonts")), sources, false);
    QTemporaryDir withWindowsOwn;
    layOut(withWindowsOwn.filePath(QStringLiteral("windows/Fonts")), sources, true);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3;
    // Ratios to the timer, by kind of scan, over the rounds: a loaded machine scatters single
    // rounds widely.
    std::vector<double> ratios[4];
    for (int round = 1; round <= rounds; ++round) {
        const double timer = timerPeriodMs(fileCount);
        std::optional<DetailsFigures> details;
        // Each goes first every other round, so neither gains from what ran before it.
        const auto scanWithout = [&] { return scanMsPerFile(root.path(), {}, false, details); };
        const auto scanWith = [&] {
            return scanMsPerFile(root.path(), fontReader, false, details);
        };
        const bool withoutFirst = round % 2 == 1;
        const ScanFigures first = withoutFirst ? scanWithout() : scanWith();
        const ScanFigures second = withoutFirst ? scanWith() : scanWithout();
        const ScanFigures& bare = withoutFirst ? first : second;
        const ScanFigures& with = withoutFirst ? second : first;
        const DetailsFigures read = *details;
        const ScanFigures hovered = scanMsPerFile(root.path(), fontReader, true, details);
        std::optional<DetailsFigures> none;
        const ScanFigures windowsOwn = scanMsPerFile(withWindowsOwn.path(), {}, false, none);
        const Stall idle = longestGapUntil([] { return false; }, 1000);
        std::printf("round %d: timer alone %.3f ms/tick\n", round, timer);
        const std::pair<const char*, ScanFigures> kinds[] = {{"without details", bare},
                                                             {"with details", with},
                                                             {"with details, hovered", hovered},
                                                             {"a third Windows' own", windowsOwn}};
        for (int kind = 0; kind < 4; ++kind) {
            const auto& [name, scan] = kinds[kind];
            ratios[kind].push_back(scan.wallMsPerFile / timer);
            std::printf(
                "  scan %-22s %.3f ms/file (%.3f ms CPU, %.3f ms in the tick), ratio %.3f\n", name,
                scan.wallMsPerFile, scan.cpuMsPerFile, scan.tickMs, ratios[kind].back());
        }
        std::printf(
            "  details of the %d rows read after the scan in %.0f ms; longest wait of the window "
            "%.2f ms, of which %.2f ms its own CPU (idle window: %.2f ms, %.2f ms CPU)\n",
            fileCount - (fileCount + 2) / 3, read.reading.elapsedMs, read.reading.longestGapMs,
            read.reading.longestCpuMs, idle.longestGapMs, idle.longestCpuMs);
        std::printf(
            "  preview shown %.1f ms after Preview; longest wait of the window %.2f ms, of which "
            "%.2f ms its own CPU\n",
            read.preview.elapsedMs, read.preview.longestGapMs, read.preview.longestCpuMs);
        const double readMs = readAll(fontReader, copies);
        std::printf("  font reader alone over %d font files: %.0f ms (%.3f ms a file)\n", fileCount,
                    readMs, readMs / fileCount);
    }
    for (auto& kind : ratios) {
        std::sort(kind.begin(), kind.end());
    }
    const auto median = [](const std::vector<double>& sorted) {
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    };
    std::printf(
        "median ratio over %d rounds: without details %.3f, with details %.3f, with "
        "details hovered %.3f, a third Windows' own %.3f\n",
        rounds, median(ratios[0]), median(ratios[1]), median(ratios[2]), median(ratios[3]));
    std::printf("asking who owns a file: %.1f us a file over %d files\n", ownerLookupUs(copies),
                fileCount);
    return 0;
}
