// The profile file against what only POSIX systems let a test make: pipes, devices, links to
// files of other owners and a full disk.
#include "platform/file_lock.h"
#include "settings/profile_file.h"
#include "settings/profile_file_fixture.h"
#include "support/files.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

namespace kestrix::settings {
namespace {

TEST_F(ProfileFileTest, PipeOrDeviceIsLeftAlone) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(file()).constData(), 0644), 0);
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString());
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()));
    EXPECT_FALSE(QFileInfo(file()).isFile());
    ASSERT_TRUE(QFile::remove(file()));

    // A device, and a file that says it is empty while it holds gigabytes.
    for (const auto* target : {"/dev/zero", "/proc/self/pagemap"}) {
        QFile::remove(file());
        ASSERT_TRUE(QFile::link(QString::fromLatin1(target), file()));
        EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString()) << target;
        EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()))
            << target;
    }
}

TEST_F(ProfileFileTest, PipeSwappedInWhileTheFileIsReadIsRefusedWithoutWaiting) {
    store("[Kestrix Settings]\r\nTOTAL=7\r\n");
    const QByteArray name = QFile::encodeName(file());
    const QByteArray pipe = QFile::encodeName(dir_.filePath(QStringLiteral("pipe")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
    std::atomic<int> looks = 0;
    std::atomic<int> hung = 0;
    std::atomic<bool> done = false;
    // Swaps the file and the pipe over and over. A look that does not come back has opened or
    // read the pipe: a writer that writes nothing lets it end.
    std::thread swapper([&] {
        QElapsedTimer still;
        still.start();
        for (int seen = 0; !done;) {
            ::renameat2(AT_FDCWD, name.constData(), AT_FDCWD, pipe.constData(), RENAME_EXCHANGE);
            if (looks != seen) {
                seen = looks;
                still.restart();
            } else if (still.hasExpired(2000)) {
                ++hung;
                ::close(::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
                ::close(::open(pipe.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
            }
        }
    });
    // The moment between looking and opening comes rarely.
    for (; looks < 20000 && hung == 0; ++looks) {
        const QString read = ReadSetting(section, QStringLiteral("Total"), file());
        EXPECT_TRUE(read.isEmpty() || read == QStringLiteral("7")) << read.toStdString();
        EXPECT_FALSE(
            std::holds_alternative<platform::FileLock::Busy>(platform::FileLock::acquire(file())));
    }
    done = true;
    swapper.join();
    EXPECT_EQ(hung, 0) << "a look at the file waited on the pipe";
}

TEST_F(ProfileFileTest, WriteReplacesALinksFinalTargetWholeKeepingItsOwnerGroupAndMode) {
    // Info.ini -> middle.ini -> real/target.ini, a file of another owner with a second name.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("real")));
    const QString target = dir_.filePath(QStringLiteral("real/target.ini"));
    const QString secondName = dir_.filePath(QStringLiteral("real/old.ini"));
    const QString middle = dir_.filePath(QStringLiteral("middle.ini"));
    test::writeFile(target, "[Kestrix Settings]\r\nTOTAL=3\r\n");
    const QByteArray targetName = QFile::encodeName(target);
    ASSERT_EQ(::link(targetName.constData(), QFile::encodeName(secondName).constData()), 0);
    ASSERT_EQ(::symlink("real/target.ini", QFile::encodeName(middle).constData()), 0);
    ASSERT_EQ(::symlink("middle.ini", QFile::encodeName(file()).constData()), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(targetName.constData(), 1234, 2345), 0);
    }
    ASSERT_EQ(::chmod(targetName.constData(), 0640), 0);

    ASSERT_TRUE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()));
    EXPECT_EQ(test::contentOf(target), QByteArray("[Kestrix Settings]\r\nTOTAL=4\r\n"));
    struct stat replaced {};
    ASSERT_EQ(::stat(targetName.constData(), &replaced), 0);
    EXPECT_EQ(replaced.st_mode & 07777, 0640U);
    if (root) {
        EXPECT_EQ(replaced.st_uid, 1234U);
        EXPECT_EQ(replaced.st_gid, 2345U);
    }
    // Writing in place would have changed the file's other name too; the links stay links.
    EXPECT_EQ(test::contentOf(secondName), QByteArray("[Kestrix Settings]\r\nTOTAL=3\r\n"));
    EXPECT_TRUE(QFileInfo(file()).isSymLink() && QFileInfo(middle).isSymLink());
    EXPECT_EQ(QDir(dir_.path())
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("Info.ini"), QStringLiteral("middle.ini"),
                           QStringLiteral("real")}));
    EXPECT_EQ(QDir(dir_.filePath(QStringLiteral("real")))
                  .entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("old.ini"), QStringLiteral("target.ini")}));

    // A link that leads nowhere is reported, not followed into making a file.
    ASSERT_TRUE(QFile::remove(middle));
    const WriteResult dangling =
        WriteSetting(section, QStringLiteral("Total"), QStringLiteral("5"), file());
    EXPECT_FALSE(dangling);
    EXPECT_TRUE(dangling.reason.contains(QStringLiteral("link"))) << dangling.reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(middle) || QFileInfo(middle).isSymLink());
}

// A shared Info.ini of another owner, written by a process of a group member without root's
// rights.
TEST_F(ProfileFileTest, WhoeverMayWriteASharedFileSavesItKeepingGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make files of other owners";
    }
    constexpr uid_t owner = 1234;
    constexpr uid_t writer = 5678;
    constexpr gid_t shared = 2345;
    const QByteArray name = QFile::encodeName(file());
    const QByteArray folder = QFile::encodeName(dir_.path());
    ASSERT_EQ(::chown(folder.constData(), 0, shared), 0);
    ASSERT_EQ(::chmod(folder.constData(), 0775), 0);
    const struct {
        const char* what;
        mode_t mode;
        bool saved;
    } rows[] = {{"group-writable", 0664, true}, {"writable by its owner alone", 0644, false}};
    for (const auto& row : rows) {
        store("[Kestrix Settings]\r\nTOTAL=3\r\n");
        ASSERT_EQ(::chown(name.constData(), owner, shared), 0);
        ASSERT_EQ(::chmod(name.constData(), row.mode), 0);
        EXPECT_EXIT(
            {
                if (::setgroups(1, &shared) != 0 || ::setresgid(shared, shared, shared) != 0 ||
                    ::setresuid(writer, writer, writer) != 0) {
                    ::_exit(2);
                }
                ::_exit(WriteSetting(section, QStringLiteral("Total"), "4", file()) ? 0 : 1);
            },
            testing::ExitedWithCode(row.saved ? 0 : 1), "")
            << row.what;
        EXPECT_EQ(stored(), row.saved ? QByteArray("[Kestrix Settings]\r\nTOTAL=4\r\n")
                                      : QByteArray("[Kestrix Settings]\r\nTOTAL=3\r\n"))
            << row.what;
        struct stat after {};
        ASSERT_EQ(::stat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_uid, row.saved ? writer : owner) << row.what;
        EXPECT_EQ(after.st_gid, shared) << row.what;
        EXPECT_EQ(after.st_mode & 07777, row.mode) << row.what;
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList(QStringLiteral("Info.ini")))
            << row.what;
    }
}

// A file system of 64 KiB mounted on a folder of its own for as long as it lives; only root
// may mount one.
class SmallFileSystem {
public:
    SmallFileSystem() {
        if (::geteuid() != 0) {
            skipReason_ = "mounting a small file system needs root";
        } else if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                           "size=64k") != 0) {
            skipReason_ = std::string("tmpfs cannot be mounted here: ") + std::strerror(errno);
        }
    }
    ~SmallFileSystem() {
        if (skipReason_.empty()) {
            ::umount(QFile::encodeName(dir_.path()).constData());
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    [[nodiscard]] const std::string& skipReason() const { return skipReason_; }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Takes every free byte.
    void fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }

private:
    QTemporaryDir dir_;
    std::string skipReason_;
};

TEST_F(ProfileFileTest, FullDiskLeavesTheOldFileAsItWasAndSaysWhy) {
    const SmallFileSystem disk;
    if (!disk.skipReason().empty()) {
        GTEST_SKIP() << disk.skipReason();
    }
    const QString info = disk.filePath(QStringLiteral("Info.ini"));
    const QByteArray before = "[Kestrix Settings]\r\nTOTAL=41\r\n";
    test::writeFile(info, before);
    disk.fill();

    const WriteResult result = WriteSetting(section, QStringLiteral("Total"), "42", info);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.reason.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << result.reason.toStdString();
    EXPECT_EQ(test::contentOf(info), before);
    EXPECT_EQ(QDir(disk.filePath(".")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("filler"), QStringLiteral("Info.ini")}));
}

}  // namespace
}  // namespace kestrix::settings
