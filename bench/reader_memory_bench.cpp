// Peak memory of the font reader and of the program over hostile font files beside a normal one:
// a link to /proc/self/pagemap (a "file" of size 0 that reads on for gigabytes), a valid font of
// 250 MB, a font whose shaping swaps a letter for a glyph far larger than any screen, and three
// fonts whose glyphs are far wider than their advance, previewed at a pixel ratio of 4. Each
// file is the only one on a drive of its own, scanned and previewed by a program in a child
// process, which prints its peak memory, its memory once the preview has closed, the peak of its
// font readers, and how long the preview took with the window's longest wait meanwhile.
//
// Usage: reader_memory_bench [folder]   (default: a temporary folder in the current one)
#include "app/kestrix_window.h"
#include "app/program.h"
#include "details/font_file.h"
#include "event_loop_stall.h"

#include <sys/resource.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString normalFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// A figure from /proc/self/status, in KiB.
long statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qstrlen(field)).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

QWidget* shownPreview() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmPreview") && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// In the child: scans the drive, previews its one row, closes the preview, ends the program.
int previewOnce(const QString& driveC) {
    using namespace kestrix;
    app::Environment environment{platform::DriveMap::withDriveC(driveC), driveC};
    environment.fontReader = QStringLiteral(KESTRIX_FONT_READER);
    auto program = std::make_unique<app::Program>(environment);
    program->start();
    app::FrmKestrix& window = *program->frmKestrix;
    window.cmdScan->click();
    if (!QTest::qWaitFor([&] { return !window.tmrScan->isActive(); }, 60'000)) {
        return 1;
    }
    emit window.lstFonts->previewAsked(1);
    const Stall preview = longestGapUntil([] { return shownPreview() != nullptr; }, 60'000);
    QWidget* shown = shownPreview();
    const auto* notReadable =
        shown ? shown->findChild<QLabel*>(QStringLiteral("lblNotReadable")) : nullptr;
    const QString verdict = !shown        ? QStringLiteral("no preview")
                            : notReadable ? notReadable->text()
                                          : QStringLiteral("drawn");
    if (shown) {
        (void)shown->grab();
        shown->close();
    }
    QTest::qWait(200);
    const long afterClose = statusKiB("VmRSS:");
    const long programPeak = statusKiB("VmHWM:");
    program.reset();  // its readers are killed and reaped
    rusage readers{};
    getrusage(RUSAGE_CHILDREN, &readers);
    std::printf("%ld %ld %ld %.1f %.1f/%.1f %s\n", programPeak, afterClose, readers.ru_maxrss,
                preview.elapsedMs, preview.longestGapMs, preview.longestCpuMs, qPrintable(verdict));
    return 0;
}

// A drive C: in `root` whose font folder holds one file, made by `make` at the path given.
QString driveWith(const QString& root, const QString& name,
                  const std::function<bool(const QString&)>& make) {
    const QString driveC = root + u'/' + name;
    QDir().mkpath(driveC + QStringLiteral("/windows/Fonts"));
    if (!make(driveC + QStringLiteral("/windows/Fonts/") + name + QStringLiteral(".ttf"))) {
        std::fprintf(stderr, "could not make %s\n", qPrintable(name));
    }
    return driveC;
}

bool copyPadded(const QString& from, const QString& to, qint64 size) {
    if (!QFile::copy(from, to)) {
        return false;
    }
    QFile file(to);
    return file.open(QIODevice::ReadWrite) && file.resize(size);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && qstrcmp(argv[1], "--drive") == 0) {
        QApplication application(argc, argv);
        return previewOnce(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication application(argc, argv);
    QTemporaryDir root(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/XXXXXX")
                                : QStringLiteral("reader-memory-XXXXXX"));
    constexpr qint64 bigFont = 250'000'000;
    const auto madeFont = [](const char* name) {
        return [name](const QString& at) {
            return QFile::copy(QStringLiteral(KESTRIX_TEST_FONTS "/") + QLatin1String(name), at);
        };
    };
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        const char* scale = "1";  // the screen's pixel ratio
    } cases[] = {
        {"normal", [](const QString& at) { return QFile::copy(normalFont, at); }},
        {"pagemap-link",
         [](const QString& at) { return QFile::link(QStringLiteral("/proc/self/pagemap"), at); }},
        {"font-250MB", [](const QString& at) { return copyPadded(normalFont, at, bigFont); }},
        {"shaping-bomb", madeFont("shaping-bomb.ttf")},
        {"wide-up@4", madeFont("wide-glyphs-up.ttf"), "4"},
        {"wide-down@4", madeFont("wide-glyphs-down.ttf"), "4"},
        {"wide-across@4", madeFont("wide-glyphs-across.ttf"), "4"},
    };
    std::printf("reader limit: %lld MiB above what it maps at its start\n",
                static_cast<long long>(kestrix::details::readerMemory >> 20));
    // The window's longest wait, and the CPU time its own thread took within it.
    std::printf("%-14s %12s %14s %12s %11s %12s  %s\n", "file", "program MiB", "after close MiB",
                "reader MiB", "preview ms", "wait/CPU ms", "preview says");
    double normalPeak = 0;
    for (const auto& [name, make, scale] : cases) {
        const QString driveC = driveWith(root.path(), QLatin1String(name), make);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--drive"), driveC});
        child.waitForFinished(180'000);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() < 6) {
            std::printf("%-14s the program did not finish (exit %d)\n", name, child.exitCode());
            continue;
        }
        const double programPeak = figures[0].toDouble() / 1024;
        normalPeak = normalPeak > 0 ? normalPeak : programPeak;
        std::printf("%-14s %6.0f (%.2fx) %14.0f %12.0f %11s %12s  %s\n", name, programPeak,
                    programPeak / normalPeak, figures[1].toDouble() / 1024,
                    figures[2].toDouble() / 1024, figures[3].constData(), figures[4].constData(),
                    figures.mid(5).join(' ').constData());
        QDir(driveC).removeRecursively();
    }
    return 0;
}
