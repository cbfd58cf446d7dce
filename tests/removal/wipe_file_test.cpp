#include "removal/wipe_file.h"
#include "support/files.h"

#include "support/temp_drive.h"

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

QString windowsPath(const QString& name) {
    return QStringLiteral("C:\\WINDOWS\\Fonts\\") + name;
}

QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + i % 26);
    }
    return bytes;
}

const QString fontsPath = QStringLiteral("C:\\WINDOWS\\Fonts");

class WipeFileTest : public testing::Test {
protected:
    platform::OpenFolder fonts() const {
        auto opened = drives_.openFolder(fontsPath);
        EXPECT_TRUE(std::holds_alternative<platform::OpenFolder>(opened));
        return std::get<platform::OpenFolder>(std::move(opened));
    }

    test::TempDrive drive_;
    platform::DriveMap drives_ = drive_.drives();
};

TEST_F(WipeFileTest, OverwritesWithBlanksToTheNextBlockBoundaryThenDeletes) {
    const std::vector<std::pair<qsizetype, qsizetype>> sizes = {
        {0, 4096}, {4095, 4096}, {4096, 8192}, {5000, 8192}};
    for (const auto& [size, wiped] : sizes) {
        const QString host = drive_.addFont(QStringLiteral("Sized.ttf"), pattern(size));
        auto opened = platform::WipeTarget::open(fonts(), QStringLiteral("Sized.ttf"));
        auto* file = std::get_if<platform::WipeTarget>(&opened);
        ASSERT_NE(file, nullptr) << size;
        EXPECT_TRUE(file->ownsContent());
        EXPECT_EQ(file->size(), size);

        EXPECT_EQ(OverwriteFile(*file), std::nullopt) << size;
        EXPECT_EQ(contentOf(host), QByteArray(wiped, ' ')) << size;

        EXPECT_EQ(file->removeName(), std::nullopt) << size;
        EXPECT_FALSE(drive_.hasFont(QStringLiteral("Sized.ttf"))) << size;
    }
}

TEST_F(WipeFileTest, RemovesTheFileWhateverTheLetterCaseOfThePath) {
    drive_.addFont(QStringLiteral("MyFont.TTF"), pattern(10000));
    EXPECT_EQ(WipeFile(QStringLiteral("c:\\windows\\fonts\\myfont.ttf"), drives_), std::nullopt);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("MyFont.TTF")));
    EXPECT_TRUE(QDir(drive_.fontsFolder()).isEmpty());
}

TEST_F(WipeFileTest, ReadOnlyFileIsNeitherWrittenNorDeleted) {
    // We run as root in CI: the missing write bits alone must hold the file.
    for (const auto mode : {0444, 0400, 0000}) {
        const QString host = drive_.addFont(QStringLiteral("Locked.ttf"), pattern(5000));
        ASSERT_EQ(::chmod(QFile::encodeName(host).constData(), mode), 0);
        EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Locked.ttf")), drives_),
                  QStringLiteral("read-only"));
        ASSERT_EQ(::chmod(QFile::encodeName(host).constData(), 0644), 0);
        EXPECT_EQ(contentOf(host), pattern(5000)) << mode;
        QFile::remove(host);
    }
}

TEST_F(WipeFileTest, MissingFileIsNotCreated) {
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Gone.ttf")), drives_),
              QStringLiteral("file not found"));
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Gone.ttf")));
    EXPECT_NE(WipeFile(QStringLiteral("C:\\NoSuchFolder\\x.ttf"), drives_), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(drive_.driveC() + QStringLiteral("/NoSuchFolder")));
    EXPECT_NE(WipeFile(QStringLiteral("D:\\x.ttf"), drives_), std::nullopt);
}

TEST_F(WipeFileTest, SymbolicLinkIsRemovedAndItsTargetLeftIntact) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("precious.ttf"));
    test::writeFile(target, pattern(5000));
    ASSERT_TRUE(QFile::link(target, drive_.fontsFolder() + QStringLiteral("/Link.ttf")));
    ASSERT_TRUE(QFile::link(elsewhere.filePath(QStringLiteral("none")),
                            drive_.fontsFolder() + QStringLiteral("/Dangling.ttf")));

    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Link.ttf")), drives_), std::nullopt);
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Dangling.ttf")), drives_), std::nullopt);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Link.ttf")));
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Dangling.ttf")));
    EXPECT_EQ(contentOf(target), pattern(5000));
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("none"))));
}

TEST_F(WipeFileTest, HardLinkedFileLosesOnlyThisName) {
    const QString host = drive_.addFont(QStringLiteral("Shared.ttf"), pattern(5000));
    const QString other = drive_.driveC() + QStringLiteral("/other-name.ttf");
    ASSERT_EQ(::link(QFile::encodeName(host).constData(), QFile::encodeName(other).constData()), 0);
    auto opened = platform::WipeTarget::open(fonts(), QStringLiteral("Shared.ttf"));
    ASSERT_TRUE(std::holds_alternative<platform::WipeTarget>(opened));
    EXPECT_FALSE(std::get<platform::WipeTarget>(opened).ownsContent());

    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Shared.ttf")), drives_), std::nullopt);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Shared.ttf")));
    EXPECT_EQ(contentOf(other), pattern(5000));
}

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
