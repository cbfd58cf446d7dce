#include "ui/file_list.h"
#include "support/temp_drive.h"
#include "ui/listed_files.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace kestrix::ui {
namespace {

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

TEST(FileList, SaysWhyAFolderCannotBeListed) {
    test::TempDrive drive;
    FileList list(drive.drives(), "*.ttf");

    list.setPath("C:\\WINDOWS\\Missing");
    const auto missing = list.refresh();
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->reason.contains("not found")) << missing->reason.toStdString();
    EXPECT_EQ(list.listCount(), 0);

    drive.addFont("file.ttf");
    list.setPath("C:\\WINDOWS\\Fonts\\file.ttf");
    EXPECT_EQ(list.refresh()->reason, QString("not a folder"));

    list.setPath("C:\\WINDOWS\\Fonts");
    EXPECT_FALSE(list.refresh().has_value());
    EXPECT_EQ(list.listCount(), 1);
}

}  // namespace
}  // namespace kestrix::ui
