// Wipe throughput: WipeFile against the same write pattern in plain C with one fsync, and
// against `shred -n1 -u`, on 1, 10 and 100 MiB files in the same run, plus peak memory.
//
// Usage: wipe_throughput [folder]   (default: a temporary folder in the current one; use a
// folder on a real disk, not tmpfs, or the flush costs nothing)

#include "removal/wipe_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr qint64 mebibyte = 1024 * 1024;

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A file of the given size that has reached the disk, so that the wipe pays only for itself.
bool createFile(const QByteArray& path, qint64 size) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    std::array<char, 65536> chunk{};
    std::fill(chunk.begin(), chunk.end(), 'F');
    bool ok = true;
    for (qint64 done = 0; ok && done < size; done += static_cast<qint64>(chunk.size())) {
        const auto length = static_cast<size_t>(std::min<qint64>(chunk.size(), size - done));
        ok = ::write(fd, chunk.data(), length) == static_cast<ssize_t>(length);
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The same pattern as WipeFile, written plainly: X then blanks per 4096-byte block, up to the
// next whole block, one fsync, then unlink.
bool plainPattern(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDWR);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    ::fstat(fd, &info);
    char letters[4096];
    char blanks[4096];
    std::fill(std::begin(letters), std::end(letters), 'X');
    std::fill(std::begin(blanks), std::end(blanks), ' ');
    const off_t blocks = info.st_size / 4096 + 1;
    bool ok = true;
    for (off_t block = 0; ok && block < blocks; ++block) {
        ok = ::pwrite(fd, letters, sizeof letters, block * 4096) == sizeof letters &&
             ::pwrite(fd, blanks, sizeof blanks, block * 4096) == sizeof blanks;
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    return ok && ::unlink(path.constData()) == 0;
}

bool shred(const QByteArray& path) {
    std::array<char*, 5> argv = {const_cast<char*>("shred"), const_cast<char*>("-n1"),
                                 const_cast<char*>("-u"), const_cast<char*>(path.constData()),
                                 nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "shred", nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Method {
    const char* name;
    std::function<bool(const QByteArray& hostPath)> wipe;
    std::vector<double> seconds;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// How many times faster `fast` was than `slow`, by the median over the rounds.
double pairedRatio(const Method& slow, const Method& fast) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < fast.seconds.size(); ++i) {
        ratios.push_back(slow.seconds[i] / fast.seconds[i]);
    }
    return median(ratios);
}

}  // namespace

int main(int argc, char* argv[]) {
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QStringLiteral("/wipe-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a folder in %s\n", qPrintable(base));
        return 1;
    }
    const auto drives = kestrix::platform::DriveMap::withDriveC(dir.path());
    const QByteArray hostPath = QFile::encodeName(dir.filePath(QStringLiteral("bench.ttf")));
    const long peakAtStart = peakKiB();

    std::printf("folder: %s\n", qPrintable(dir.path()));
    std::printf("%8s  %-22s %10s %12s %10s\n", "size", "method", "MiB/s", "median ms", "best ms");
    for (const qint64 mib : {1, 10, 100}) {
        std::vector<Method> methods = {
            {"WipeFile",
             [&](const QByteArray&) {
                 return !kestrix::removal::WipeFile(QStringLiteral("C:\\bench.ttf"), drives);
             },
             {}},
            {"plain C, one fsync", plainPattern, {}},
            {"shred -n1 -u", shred, {}},
        };
        const int rounds = mib >= 100 ? 9 : mib >= 10 ? 25 : 61;
        for (int round = 0; round < rounds; ++round) {
            // Rotate the order so that no method always follows the same one.
            for (std::size_t k = 0; k < methods.size(); ++k) {
                Method& method = methods[(k + static_cast<std::size_t>(round)) % methods.size()];
                if (!createFile(hostPath, mib * mebibyte)) {
                    std::fprintf(stderr, "cannot create the test file\n");
                    return 1;
                }
                const auto start = Clock::now();
                if (!method.wipe(hostPath) || QFile::exists(QFile::decodeName(hostPath))) {
                    std::fprintf(stderr, "%s failed\n", method.name);
                    return 1;
                }
                method.seconds.push_back(
                    std::chrono::duration<double>(Clock::now() - start).count());
            }
        }
        for (const auto& method : methods) {
            const double seconds = median(method.seconds);
            const double best = *std::min_element(method.seconds.begin(), method.seconds.end());
            std::printf("%5lld MiB  %-22s %10.1f %12.2f %10.2f\n", static_cast<long long>(mib),
                        method.name, static_cast<double>(mib) / seconds, seconds * 1000,
                        best * 1000);
        }
        // Rounds ran side by side, so comparing within each round cancels slow drifts of a
        // shared disk.
        std::printf("%8s  median per round: WipeFile / plain C = %.3f, WipeFile / shred = %.3f\n",
                    "", pairedRatio(methods[1], methods[0]), pairedRatio(methods[2], methods[0]));
        std::printf("%8s  peak memory of this process: %ld KiB (at start %ld KiB)\n", "", peakKiB(),
                    peakAtStart);
    }
    return 0;
}
