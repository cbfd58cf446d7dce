// The file list against the attributes Windows marks files with.
#include "support/temp_drive.h"
#include "ui/listed_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <QDir>

namespace kestrix::ui {
namespace {

TEST(FileList, LeavesOutHiddenAndSystemFiles) {
    test::TempDrive drive;
    const struct {
        const char* name;
        DWORD attributes;
    } files[] = {{"plain.ttf", FILE_ATTRIBUTE_NORMAL},
                 {"read-only.ttf", FILE_ATTRIBUTE_READONLY},
                 {"hidden.ttf", FILE_ATTRIBUTE_HIDDEN},
                 {"system.ttf", FILE_ATTRIBUTE_SYSTEM},
                 {"both.fon", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& file : files) {
        drive.addFont(QString::fromLatin1(file.name));
        const QString path = QDir::toNativeSeparators(drive.fontsFolder() + u'/' + file.name);
        ASSERT_TRUE(::SetFileAttributesW(path.toStdWString().c_str(), file.attributes))
            << file.name;
    }

    FileList list(drive.drives(), "*.fon;*.ttf");
    list.setPath("C:\\WINDOWS\\Fonts");
    ASSERT_FALSE(list.refresh().has_value());
    EXPECT_EQ(listed(list), QStringList({"plain.ttf", "read-only.ttf"}));
    for (const auto& file : files) {
        const QString path = QDir::toNativeSeparators(drive.fontsFolder() + u'/' + file.name);
        ::SetFileAttributesW(path.toStdWString().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
}  // namespace kestrix::ui
