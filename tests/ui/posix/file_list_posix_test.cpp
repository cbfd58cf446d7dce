// The file list against names a POSIX file system holds and Windows cannot name.
#include "support/temp_drive.h"
#include "ui/listed_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <QFile>

namespace kestrix::ui {
namespace {

TEST(FileList, LeavesOutNamesThatCannotLeadBackToTheirFile) {
    test::TempDrive drive;
    drive.addFonts({"ok.ttf", ".hidden.ttf", "star*.ttf", "quote\".ttf", "colon:.ttf",
                    "back\\slash.ttf", "tab\t.ttf", "pipe|.ttf", "ünïcode.ttf"});
    // A name that is not valid in the file system's encoding.
    const QByteArray rawName = QFile::encodeName(drive.fontsFolder()) + "/bad\xff.ttf";
    const int fd = ::creat(rawName.constData(), 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    FileList list(drive.drives(), "*.fon;*.ttf");
    list.setPath("C:\\WINDOWS\\Fonts");
    ASSERT_FALSE(list.refresh().has_value());
    EXPECT_EQ(listed(list), QStringList({"ok.ttf", "ünïcode.ttf"}));
}

}  // namespace
}  // namespace kestrix::ui
