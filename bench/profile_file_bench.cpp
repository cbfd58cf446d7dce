// Info.ini of 100 MB: ReadSetting and then WriteSetting on files of several shapes (bare CR line
// ends, LF line ends, one huge line, UTF-16), each in a child process of its own so that its
// peak memory is its own. Prints the time and the peak memory above the child's start.
//
// Usage: profile_file_bench [folder] [MiB]   (default: a temporary folder in the current one,
// 100 MiB)

#include "settings/profile_file.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;
const QString section = QStringLiteral("Kestrix Settings");
const QString key = QStringLiteral("Total");

struct Shape {
    const char* name;
    QByteArray head;    // written once
    QByteArray filler;  // repeated until the file has its size
    QByteArray tail;    // written once: where the entry is, so reading must pass everything
    bool utf16 = false;
};

// Writes the file in pieces, so that the driver itself stays small.
bool writeShape(const QString& path, const Shape& shape, qint64 size) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    QStringEncoder encode(QStringConverter::Utf16LE);
    const auto bytes = [&](const QByteArray& text) {
        return shape.utf16 ? QByteArray(encode(QString::fromUtf8(text))) : text;
    };
    const QByteArray filler =
        bytes(shape.filler.repeated(std::max<qsizetype>(1, 65536 / shape.filler.size())));
    bool ok = out.write(shape.utf16 ? QByteArray("\xFF\xFE") + bytes(shape.head) : shape.head) >= 0;
    const QByteArray tail = bytes(shape.tail);
    while (ok && out.size() + filler.size() + tail.size() <= size) {
        ok = out.write(filler) == filler.size();
    }
    return ok && out.write(tail) == tail.size();
}

struct Measure {
    double seconds = 0;
    double cpuSeconds = 0;  // less swayed than the wall clock by what else the machine runs
    long peakKiB = 0;
    bool ok = false;
};

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Runs `work` in a child process; its peak memory comes back through wait4().
Measure inChild(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::_Exit(work() ? 0 : 1);
    }
    const auto start = Clock::now();
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) {
        return {};
    }
    return {std::chrono::duration<double>(Clock::now() - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

}  // namespace

int main(int argc, char* argv[]) {
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const qint64 size = (argc > 2 ? std::atoll(argv[2]) : 100) * 1024 * 1024;
    QTemporaryDir dir(base + QStringLiteral("/profile-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a folder in %s\n", qPrintable(base));
        return 1;
    }
    const QString file = dir.filePath(QStringLiteral("Info.ini"));
    const QByteArray entry = "[Kestrix Settings]\r\nTOTAL=41\r\n";
    const std::vector<Shape> shapes = {
        {"bare CR line ends", "[Other]\r", "\r", "[Kestrix Settings]\rTOTAL=41\r"},
        {"LF line ends", "[Other]\n", "k=v\n", "[Kestrix Settings]\nTOTAL=41\n"},
        {"CR LF, a section a line", "", "[S]\r\n", entry},
        {"one huge line", "junk=", "a", "\r\n" + entry},
        {"UTF-16 LE, CR LF", "[Other]\r\n", "k=v\r\n", entry, true},
    };
    const long baseline = inChild([] { return true; }).peakKiB;
    std::printf("file: %lld MiB; peak memory above the child's start (%ld KiB)\n",
                static_cast<long long>(size >> 20), baseline);
    std::printf("%-26s %8s %8s %9s %8s %8s %9s\n", "shape", "read s", "cpu s", "MiB", "write s",
                "cpu s", "MiB");
    for (const auto& shape : shapes) {
        if (!writeShape(file, shape, size)) {
            std::fprintf(stderr, "cannot write the test file\n");
            return 1;
        }
        const Measure read = inChild([&] {
            return kestrix::settings::ReadSetting(section, key, file) == QStringLiteral("41");
        });
        const Measure write = inChild([&] {
            return static_cast<bool>(
                kestrix::settings::WriteSetting(section, key, QStringLiteral("42"), file));
        });
        const bool written = kestrix::settings::ReadSetting(section, key, file) == u"42";
        std::printf("%-26s %8.2f %8.2f %9.1f %8.2f %8.2f %9.1f%s\n", shape.name, read.seconds,
                    read.cpuSeconds, static_cast<double>(read.peakKiB - baseline) / 1024,
                    write.seconds, write.cpuSeconds,
                    static_cast<double>(write.peakKiB - baseline) / 1024,
                    read.ok && write.ok && written ? "" : "  FAILED");
        QFile::remove(file);
    }
    return 0;
}
