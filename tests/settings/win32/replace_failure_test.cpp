// The ways ReplaceFileW may fail part-way, which Wine never does, played by stand-ins: whatever
// it did, Info.ini holds the old file or the new one, whole, and nothing of ours is left.
#include "platform/win32/replace_with.h"
#include "settings/profile_file_fixture.h"

#include <gtest/gtest.h>
#include <QDir>

namespace kestrix::settings {
namespace {

BOOL movesTheOldFileAsideThenFails(LPCWSTR replaced, LPCWSTR, LPCWSTR backup) {
    ::MoveFileW(replaced, backup);
    ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

BOOL losesTheOldFileThenFails(LPCWSTR replaced, LPCWSTR, LPCWSTR) {
    ::DeleteFileW(replaced);
    ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

BOOL movesNothingAndFails(LPCWSTR, LPCWSTR, LPCWSTR) {
    ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

TEST_F(ProfileFileTest, ReplaceThatFailsPartWayLeavesTheOldOrTheNewFileInPlace) {
    const QByteArray before = "[Kestrix Settings]\r\nTOTAL=3\r\n";
    const QByteArray after = "[Kestrix Settings]\r\nTOTAL=4\r\n";
    const struct {
        const char* what;
        platform::win32::ReplaceCall replace;
        bool inPlace;
    } rows[] = {
        {"old file moved aside (1177)", movesTheOldFileAsideThenFails, true},
        {"old file gone (1176)", losesTheOldFileThenFails, true},
        {"nothing moved (1176)", movesNothingAndFails, false},
    };
    for (const auto& row : rows) {
        store(before);
        const auto result = platform::win32::replaceFileWith(file(), {after}, row.replace);
        EXPECT_EQ(result.inPlace, row.inPlace) << row.what << ": " << result.reason.toStdString();
        EXPECT_EQ(stored(), row.inPlace ? after : before) << row.what;
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList(QStringLiteral("Info.ini")))
            << row.what;
    }
}

}  // namespace
}  // namespace kestrix::settings
