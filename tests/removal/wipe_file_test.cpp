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

class WipeFileTest : public testing::Test {
protected:
    test::TempDrive drive_;
    platform::DriveMap drives_ = drive_.drives();
};

TEST_F(WipeFileTest, OverwritesWithBlanksToTheNextBlockBoundaryThenDeletes) {
    const std::vector<std::pair<qsizetype, qsizetype>> sizes = {
        {0, 4096}, {4095, 4096}, {4096, 8192}, {5000, 8192}};
    for (const auto& [size, wiped] : sizes) {
        const QString host = drive_.addFont(QStringLiteral("Sized.ttf"), pattern(size));
        auto opened = OpenForWipe(windowsPath(QStringLiteral("Sized.ttf")), drives_);
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
    auto opened = OpenForWipe(windowsPath(QStringLiteral("Shared.ttf")), drives_);
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
    auto opened = OpenForWipe(windowsPath(QStringLiteral("Swapped.ttf")), drives_);
    ASSERT_TRUE(std::holds_alternative<platform::WipeTarget>(opened));
    auto& file = std::get<platform::WipeTarget>(opened);
    ASSERT_EQ(OverwriteFile(file), std::nullopt);

    const QString newcomer = drive_.addFont(QStringLiteral("Newcomer.ttf"), pattern(300));
    ASSERT_EQ(
        ::rename(QFile::encodeName(newcomer).constData(), QFile::encodeName(host).constData()), 0);
    EXPECT_NE(file.removeName(), std::nullopt);
    EXPECT_EQ(contentOf(host), pattern(300));
}

}  // namespace
}  // namespace kestrix::removal
