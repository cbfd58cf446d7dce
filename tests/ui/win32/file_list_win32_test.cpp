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
    const std::pair<QString, DWORD> files[] = {
        {"plain.ttf", FILE_ATTRIBUTE_NORMAL},
        {"hidden.ttf", FILE_ATTRIBUTE_HIDDEN},
        {"system.ttf", FILE_ATTRIBUTE_SYSTEM},
        {"both.fon", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, attributes] : files) {
        const QString path = QDir::toNativeSeparators(drive.addFont(name));
        ASSERT_TRUE(::SetFileAttributesW(path.toStdWString().c_str(), attributes));
    }
    FileList list(drive.drives(), "*.fon;*.ttf");
    list.setPath("C:\\WINDOWS\\Fonts");
    ASSERT_FALSE(list.refresh().has_value());
    EXPECT_EQ(listed(list), QStringList({"plain.ttf"}));
}

}  // namespace
}  // namespace kestrix::ui
