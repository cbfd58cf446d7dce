// The wipe against what only POSIX file systems hold: pipes, sockets, names that differ only in
// letter case, and names and folders swapped under a running wipe.
#include "removal/wipe_file_fixture.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

namespace kestrix::removal {
namespace {

using test::contentOf;

TEST_F(WipeFileTest, OnlyRegularFilesAreWipedAndNothingWaits) {
    const QString fifo = drive_.fontsFolder() + QStringLiteral("/Pipe.ttf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ASSERT_TRUE(QDir(drive_.fontsFolder()).mkdir(QStringLiteral("Folder.ttf")));
    const QString socketPath = drive_.fontsFolder() + QStringLiteral("/Socket.ttf");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<size_t>(encoded.size()), sizeof(address.sun_path));
    std::copy(encoded.begin(), encoded.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Pipe.ttf")), drives_), QStringLiteral("a pipe"));
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Folder.ttf")), drives_),
              QStringLiteral("a folder"));
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Socket.ttf")), drives_),
              QStringLiteral("a socket"));
    ::close(sock);
    EXPECT_TRUE(drive_.hasFont(QStringLiteral("Pipe.ttf")));
    EXPECT_TRUE(QFileInfo(drive_.fontsFolder() + QStringLiteral("/Folder.ttf")).isDir());
    EXPECT_TRUE(drive_.hasFont(QStringLiteral("Socket.ttf")));
}

TEST_F(WipeFileTest, AmbiguousNameTouchesNothing) {
    const QString first = drive_.addFont(QStringLiteral("Dup.ttf"), pattern(100));
    const QString second = drive_.addFont(QStringLiteral("DUP.ttf"), pattern(200));
    const auto failure = WipeFile(QStringLiteral("c:\\windows\\fonts\\dup.ttf"), drives_);
    ASSERT_NE(failure, std::nullopt);
    EXPECT_TRUE(failure->contains(QStringLiteral("letter case")));
    EXPECT_EQ(contentOf(first), pattern(100));
    EXPECT_EQ(contentOf(second), pattern(200));
}

TEST_F(WipeFileTest, NameThatLeadsElsewhereBeforeTheDeleteIsKept) {
    const QString host = drive_.addFont(QStringLiteral("Swapped.ttf"), pattern(100));
    auto opened = platform::WipeTarget::open(fonts(), QStringLiteral("Swapped.ttf"));
    ASSERT_TRUE(std::holds_alternative<platform::WipeTarget>(opened));
    auto& file = std::get<platform::WipeTarget>(opened);
    ASSERT_EQ(OverwriteFile(file), std::nullopt);

    const QString newcomer = drive_.addFont(QStringLiteral("Newcomer.ttf"), pattern(300));
    ASSERT_EQ(
        ::rename(QFile::encodeName(newcomer).constData(), QFile::encodeName(host).constData()), 0);
    EXPECT_NE(file.removeName(), std::nullopt);
    EXPECT_EQ(contentOf(host), pattern(300));
}

// Swaps a folder for a link to a decoy folder and back, over and over, until it goes.
class FolderSwapper {
public:
    FolderSwapper(const QString& folder, const QString& decoy)
        : folder_(QFile::encodeName(folder)),
          away_(folder_ + ".away"),
          decoy_(QFile::encodeName(decoy)),
          thread_([this] { swap(); }) {}
    ~FolderSwapper() {
        stop_ = true;
        thread_.join();
    }
    FolderSwapper(const FolderSwapper&) = delete;
    FolderSwapper& operator=(const FolderSwapper&) = delete;

    [[nodiscard]] int swaps() const { return swaps_; }

private:
    // Every round ends with the folder back in place.
    void swap() {
        while (!stop_) {
            if (::rename(folder_.constData(), away_.constData()) == 0 &&
                ::symlink(decoy_.constData(), folder_.constData()) == 0) {
                ++swaps_;
                ::unlink(folder_.constData());
            }
            ::rename(away_.constData(), folder_.constData());
        }
    }

    QByteArray folder_;
    QByteArray away_;
    QByteArray decoy_;
    std::atomic<bool> stop_{false};
    std::atomic<int> swaps_{0};
    std::thread thread_;
};

TEST_F(WipeFileTest, FolderSwappedForALinkNeverRedirectsAWipe) {
    // Drive C: reached through a link, as a Wine prefix's dosdevices/c: is: that one is followed.
    const QTemporaryDir prefix;
    const QString driveLink = prefix.filePath(QStringLiteral("c:"));
    ASSERT_TRUE(QFile::link(drive_.driveC(), driveLink));
    const auto drives = platform::DriveMap::withDriveC(driveLink);
    auto opened = drives.openFolder(fontsPath);
    ASSERT_TRUE(std::holds_alternative<platform::OpenFolder>(opened));
    const auto& run = std::get<platform::OpenFolder>(opened);

    const QTemporaryDir decoy;
    const int files = 200;
    const auto name = [](int i) { return QStringLiteral("F%1.ttf").arg(i); };
    for (int i = 0; i < files; ++i) {
        drive_.addFont(name(i), pattern(100));
        test::writeFile(decoy.filePath(name(i)), "decoy");
    }
    int swaps = 0;
    {
        const FolderSwapper swapper(drive_.fontsFolder(), decoy.path());
        for (int i = 0; i < files; ++i) {
            if (i % 2 == 0) {
                // The run's folder, opened before the swapping began, is the real one throughout.
                EXPECT_EQ(WipeFile(run, name(i)), std::nullopt) << i;
            } else {
                // A run of its own, opening the folder while it comes and goes.
                (void)WipeFile(windowsPath(name(i)), drives);
            }
        }
        swaps = swapper.swaps();
    }
    EXPECT_GT(swaps, 0);
    int decoyWrites = 0;
    for (int i = 0; i < files; ++i) {
        decoyWrites += contentOf(decoy.filePath(name(i))) != "decoy" ? 1 : 0;
        EXPECT_EQ(drive_.hasFont(name(i)),
                  i % 2 != 0 && contentOf(drive_.fontsFolder() + u'/' + name(i)) == pattern(100))
            << i;
    }
    EXPECT_EQ(decoyWrites, 0);
}

}  // namespace
}  // namespace kestrix::removal
