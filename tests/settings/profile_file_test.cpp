#include "settings/profile_file.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

namespace kestrix::settings {
namespace {

const QString section = QStringLiteral("Kestrix Settings");

// A file as Windows writes UTF-16: its byte-order mark, then the text.
QByteArray utf16(QStringConverter::Encoding encoding, const QString& text) {
    QStringEncoder encode(encoding, QStringConverter::Flag::WriteBom);
    return encode(text);
}

class ProfileFileTest : public testing::Test {
protected:
    QString file() const { return dir_.filePath(QStringLiteral("Info.ini")); }

    void store(const QByteArray& bytes) const { test::writeFile(file(), bytes); }
    QByteArray stored() const { return test::contentOf(file()); }

    QTemporaryDir dir_;
};

struct ReadCase {
    const char* what;
    QByteArray file;
    QString section;
    QString key;
    QString expected;
};

TEST_F(ProfileFileTest, ReadsValuesByTheProfileRules) {
    const QString total = QStringLiteral("Total");
    const QString longValue(800, u'7');
    const std::vector<ReadCase> cases = {
        {"plain entry", "[Kestrix Settings]\r\nTOTAL=5\r\n", section, total, "5"},
        {"names ignore letter case", "[KESTRIX SETTINGS]\r\ntotal=12\r\n", section, total, "12"},
        {"caller's letter case", "[Kestrix Settings]\r\nTOTAL=5\r\n", "kESTRIX sETTINGS", "tOtAl",
         "5"},
        {"blanks around names and value", "  [ Kestrix Settings ]  \r\n\t Total \t=   7  \r\n",
         section, total, "7"},
        {"blanks around the caller's names", "[Kestrix Settings]\r\nTOTAL=5\r\n",
         " Kestrix Settings ", " Total ", "5"},
        {"first section wins", "[Kestrix Settings]\r\nTOTAL=1\r\n[kestrix settings]\r\nTOTAL=2\r\n",
         section, total, "1"},
        {"first key wins", "[Kestrix Settings]\r\ntotal=1\r\nTOTAL=2\r\n", section, total, "1"},
        {"key only in a later duplicate section",
         "[Kestrix Settings]\r\nother=1\r\n[Kestrix Settings]\r\nTOTAL=2\r\n", section, total, ""},
        {"double quotes", "[Kestrix Settings]\r\nTOTAL=\"42\"\r\n", section, total, "42"},
        {"single quotes", "[Kestrix Settings]\r\nTOTAL='42'\r\n", section, total, "42"},
        {"quotes that do not match", "[Kestrix Settings]\r\nTOTAL=\"42'\r\n", section, total,
         "\"42'"},
        {"one pair only", "[Kestrix Settings]\r\nTOTAL=\"\"x\"\"\r\n", section, total, "\"x\""},
        {"blanks inside quotes stay", "[Kestrix Settings]\r\nTOTAL= \" 4 \" \r\n", section, total,
         " 4 "},
        {"a lone quote", "[Kestrix Settings]\r\nTOTAL=\"\r\n", section, total, "\""},
        {"equals sign in the value", "[Kestrix Settings]\r\nTOTAL=a=b\r\n", section, total, "a=b"},
        {"empty value", "[Kestrix Settings]\r\nTOTAL=\r\n", section, total, ""},
        {"blank value", "[Kestrix Settings]\r\nTOTAL=   \r\n", section, total, ""},
        {"missing key", "[Kestrix Settings]\r\nOTHER=1\r\n", section, total, ""},
        {"missing section", "[Other]\r\nTOTAL=3\r\n", section, total, ""},
        {"key before any section", "TOTAL=3\r\n[Kestrix Settings]\r\n", section, total, ""},
        {"key of the next section", "[Kestrix Settings]\r\n[Other]\r\nTOTAL=3\r\n", section, total,
         ""},
        {"key without equals sign", "[Kestrix Settings]\r\nTOTAL\r\n", section, total, ""},
        {"header without closing bracket", "[Kestrix Settings\r\nTOTAL=3\r\n", section, total, ""},
        {"LF line ends", "[Other]\nx=1\n[Kestrix Settings]\nTOTAL=8\n", section, total, "8"},
        {"CR line ends", "[Other]\rx=1\r[Kestrix Settings]\rTOTAL=8\r", section, total, "8"},
        {"no final line end", "[Kestrix Settings]\r\nTOTAL=9", section, total, "9"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Kestrix Settings]\r\nTOTAL=10\r\n", section, total,
         "10"},
        {"text beyond ASCII", "[Kestrix Settings]\r\nTOTAL=Z\xC3\xA4hler\r\n", section, total,
         QStringLiteral("Z\u00e4hler")},
        {"800 characters", "[Kestrix Settings]\r\nTOTAL=" + longValue.toUtf8() + "\r\n", section,
         total, longValue.left(749)},
        {"empty file", "", section, total, ""},
        {"UTF-16 LE",
         utf16(QStringConverter::Utf16LE, "[Other]\r\n[Kestrix Settings]\r\nTOTAL=11\r\n"), section,
         total, "11"},
        {"UTF-16 BE",
         utf16(QStringConverter::Utf16BE,
               QStringLiteral("[Kestrix Settings]\nTOTAL=Z\u00e4hler\n")),
         section, total, QStringLiteral("Z\u00e4hler")},
    };
    for (const auto& c : cases) {
        store(c.file);
        EXPECT_EQ(ReadSetting(c.section, c.key, file()), c.expected) << c.what;
    }
}

TEST_F(ProfileFileTest, MissingFileReadsEmpty) {
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString());
    EXPECT_FALSE(QFile::exists(file()));
}

struct WriteCase {
    const char* what;
    QByteArray before;  // "<missing>": no file
    QString value;
    QByteArray after;
    QString key = QStringLiteral("Total");
};

TEST_F(ProfileFileTest, WritesInPlaceAndLeavesOtherLinesAlone) {
    const std::vector<WriteCase> cases = {
        {"new file", "<missing>", "0", "[Kestrix Settings]\r\nTOTAL=0\r\n"},
        {"empty file", "", "0", "[Kestrix Settings]\r\nTOTAL=0\r\n"},
        {"keeps the file's spelling", "[KESTRIX SETTINGS]\r\ntotal=12\r\n", "13",
         "[KESTRIX SETTINGS]\r\ntotal=13\r\n"},
        {"keeps every other line and each line end",
         "; note\n[Other]\r\nx = 1 \r[Kestrix Settings]\n  Total = 5\r\nafter=1", "6",
         "; note\n[Other]\r\nx = 1 \r[Kestrix Settings]\nTotal=6\r\nafter=1"},
        {"replaces only the first of duplicates",
         "[Kestrix Settings]\r\nTOTAL=1\r\nTOTAL=2\r\n[KESTRIX SETTINGS]\r\nTOTAL=3\r\n", "9",
         "[Kestrix Settings]\r\nTOTAL=9\r\nTOTAL=2\r\n[KESTRIX SETTINGS]\r\nTOTAL=3\r\n"},
        {"adds the key at the end of its section",
         "[Kestrix Settings]\r\nother=1\r\n\r\n[Next]\r\nk=v\r\n", "0",
         "[Kestrix Settings]\r\nother=1\r\nTOTAL=0\r\n\r\n[Next]\r\nk=v\r\n"},
        {"adds the key after a last header without line end", "[Kestrix Settings]", "0",
         "[Kestrix Settings]\r\nTOTAL=0\r\n"},
        {"adds the section at the end, in the file's line ends", "[Other]\nk=v", "0",
         "[Other]\nk=v\n[Kestrix Settings]\nTOTAL=0\n"},
        {"keeps CR line ends", "[Kestrix Settings]\rTOTAL=3\r", "4",
         "[Kestrix Settings]\rTOTAL=4\r"},
        {"keeps a missing final line end", "[Kestrix Settings]\r\nTOTAL=3", "4",
         "[Kestrix Settings]\r\nTOTAL=4"},
        {"keeps the byte-order mark", "\xEF\xBB\xBF[Kestrix Settings]\r\nTOTAL=3\r\n", "4",
         "\xEF\xBB\xBF[Kestrix Settings]\r\nTOTAL=4\r\n"},
        {"replaces a quoted value", "[Kestrix Settings]\r\nTOTAL=\"3\"\r\n", "4",
         "[Kestrix Settings]\r\nTOTAL=4\r\n"},
        {"a new line never joins the empty line after it", "[Other]\rk=v\n[Kestrix Settings]\n\n",
         "0", "[Other]\rk=v\n[Kestrix Settings]\nTOTAL=0\r\n\n"},
        // Keys whose capitals would not match them again keep the caller's spelling.
        {"sharp s", "[Kestrix Settings]\r\n", "1", "[Kestrix Settings]\r\n\xC3\x9F=1\r\n",
         QStringLiteral("\u00df")},
        {"dotless i", "[Kestrix Settings]\r\n", "2", "[Kestrix Settings]\r\n\xC4\xB1=2\r\n",
         QStringLiteral("\u0131")},
        {"dotted capital I", "[Kestrix Settings]\r\n", "3", "[Kestrix Settings]\r\n\xC4\xB0=3\r\n",
         QStringLiteral("\u0130")},
        {"ligature", "[Kestrix Settings]\r\n", "4", "[Kestrix Settings]\r\nX\xEF\xAC\x81=4\r\n",
         QStringLiteral("x\ufb01")},
        {"UTF-16 LE stays UTF-16 LE",
         utf16(QStringConverter::Utf16LE, "[Kestrix Settings]\r\nTOTAL=3\r\n"), "4",
         utf16(QStringConverter::Utf16LE, "[Kestrix Settings]\r\nTOTAL=4\r\n")},
        {"UTF-16 BE gains its section in UTF-16 BE",
         utf16(QStringConverter::Utf16BE, "[Other]\nk=\u00e4"), "0",
         utf16(QStringConverter::Utf16BE, "[Other]\nk=\u00e4\n[Kestrix Settings]\nTOTAL=0\n")},
    };
    for (const auto& c : cases) {
        QFile::remove(file());
        if (c.before != "<missing>") {
            store(c.before);
        }
        EXPECT_TRUE(WriteSetting(section, c.key, c.value, file())) << c.what;
        EXPECT_EQ(stored(), c.after) << c.what;
        EXPECT_EQ(ReadSetting(section, c.key, file()), c.value) << c.what;
    }
}

TEST_F(ProfileFileTest, RefusesWhatWouldBreakTheFileAndKeepsIt) {
    const QByteArray before = "[Kestrix Settings]\r\nTOTAL=3\r\n";
    store(before);
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), "4\r\n[Evil]", file()));
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("To=tal"), "4", file()));
    EXPECT_FALSE(WriteSetting(QStringLiteral("a]b"), QStringLiteral("Total"), "4", file()));
    EXPECT_FALSE(WriteSetting(section, QString(), "4", file()));
    EXPECT_EQ(stored(), before);

    // UTF-16 that would not come back the same: an odd byte at the end.
    const QByteArray damaged = utf16(QStringConverter::Utf16LE, QString::fromLatin1(before)) + 'x';
    store(damaged);
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), "4", file()));
    EXPECT_EQ(stored(), damaged);
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

TEST_F(ProfileFileTest, WriteFailsWithoutHarmWhereItCannotWrite) {
    const QString missingFolder = dir_.filePath(QStringLiteral("gone/Info.ini"));
    EXPECT_FALSE(
        WriteSetting(section, QStringLiteral("Total"), QStringLiteral("0"), missingFolder));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("gone"))));

    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Info.ini")));
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("0"), file()));
    EXPECT_TRUE(QFileInfo(file()).isDir());
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QString());
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

TEST_F(ProfileFileTest, ReadOnlyFilePipeOrDeviceIsLeftAlone) {
    const QByteArray before = "[Kestrix Settings]\r\nTOTAL=3\r\n";
    store(before);
    ASSERT_TRUE(QFile::setPermissions(file(), QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_EQ(ReadSetting(section, QStringLiteral("Total"), file()), QStringLiteral("3"));
    EXPECT_FALSE(WriteSetting(section, QStringLiteral("Total"), QStringLiteral("4"), file()));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(QFileInfo(file()).permissions() & QFile::WriteOwner, 0);
    ASSERT_TRUE(QFile::remove(file()));

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

TEST_F(ProfileFileTest, DamagedOrBinaryFilesReadAndWriteWithoutHarm) {
    QRandomGenerator random(20261207);
    const QByteArray alphabet("[]=\r\n\"' \t\0\xEF\xBB\xBF\xFF\xC3Total kestrix settings", 38);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes;
        const int length = random.bounded(4000);
        for (int i = 0; i < length; ++i) {
            bytes += random.bounded(2) == 0 ? alphabet[random.bounded(alphabet.size())]
                                            : static_cast<char>(random.bounded(256));
        }
        store(bytes);
        (void)ReadSetting(section, QStringLiteral("Total"), file());
        ASSERT_TRUE(WriteSetting(QStringLiteral("Kestrix Test Section"), QStringLiteral("Total"),
                                 QStringLiteral("77"), file()));
        EXPECT_EQ(
            ReadSetting(QStringLiteral("Kestrix Test Section"), QStringLiteral("Total"), file()),
            QStringLiteral("77"));
        // What was there stays; a last line without line end may only gain one.
        EXPECT_TRUE(stored().startsWith(bytes));
    }
}

}  // namespace
}  // namespace kestrix::settings
