// The profile file against what only POSIX systems let a test make: pipes, devices and a full
// disk.
#include "settings/profile_file.h"
#include "settings/profile_file_fixture.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace kestrix::settings {
namespace {

TEST_F(ProfileFileTest, PipeOrDeviceIsLeftAlone) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(file()).constData(), 0644), 0);
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString());
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()));
    EXPECT_FALSE(QFileInfo(file()).isFile());
    ASSERT_TRUE(QFile::remove(file()));

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), file()));
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString());
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()));
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
