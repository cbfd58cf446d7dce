#include "ui/file_list.h"
#include "support/temp_drive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

namespace kestrix::ui {
namespace {

QStringList listed(FileList& list) {
    QStringList names;
    for (int i = 0; i < list.listCount(); ++i) {
        list.setListIndex(i);
        names << list.fileName();
    }
    return names;
}

TEST(FileList, ListsTheFontFilesSortedByNameIgnoringCase) {
    test::TempDrive drive;
    drive.addFonts({"b.TTF", "a.fon", "C.ttf", "readme.txt", "d.ttf.bak", "e.FoN"});
    ASSERT_TRUE(QDir(drive.fontsFolder()).mkdir("folder.ttf"));
    FileList list(drive.drives(), "*.fon;*.ttf");
    list.setPath("C:\\WINDOWS\\Fonts");

    EXPECT_FALSE(list.refresh().has_value());
    EXPECT_EQ(listed(list), QStringList({"a.fon", "b.TTF", "C.ttf", "e.FoN"}));
    EXPECT_EQ(list.listCount(), 4);
    list.setListIndex(4);
    EXPECT_EQ(list.fileName(), "");
}

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

TEST(FileList, SaysWhyAFolderCannotBeListed) {
    test::TempDrive drive;
    FileList list(drive.drives(), "*.ttf");

    list.setPath("C:\\WINDOWS\\Missing");
    const auto missing = list.refresh();
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->contains("not found")) << missing->toStdString();
    EXPECT_EQ(list.listCount(), 0);

    drive.addFont("file.ttf");
    list.setPath("C:\\WINDOWS\\Fonts\\file.ttf");
    EXPECT_EQ(list.refresh(), QString("not a folder"));

    list.setPath("C:\\WINDOWS\\Fonts");
    EXPECT_FALSE(list.refresh().has_value());
    EXPECT_EQ(list.listCount(), 1);
}

}  // namespace
}  // namespace kestrix::ui
