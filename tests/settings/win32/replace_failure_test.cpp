// ReplaceFileW's part-way failures, which Wine never gives, played by stand-ins: whatever it
// did, Info.ini holds the old or the new file, whole, and nothing of ours is left.
#include "platform/win32/replace_with.h"
#include "settings/profile_file_fixture.h"

#include <gtest/gtest.h>
#include <QDir>

namespace kestrix::settings {
namespace {

TEST_F(ProfileFileTest, ReplaceThatFailsPartWayLeavesTheOldOrTheNewFileInPlace) {
    const struct {
        const char* what;
        platform::win32::ReplaceCall replace;
        bool inPlace;
    } rows[] = {
        {"old file moved aside (1177)",
         [](LPCWSTR old, LPCWSTR, LPCWSTR backup) {
             ::MoveFileW(old, backup);
             ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
             return FALSE;
         },
         true},
        {"old file gone (1176)",
         [](LPCWSTR old, LPCWSTR, LPCWSTR) {
             ::DeleteFileW(old);
             ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
             return FALSE;
         },
         true},
        {"nothing moved (1176)",
         [](LPCWSTR, LPCWSTR, LPCWSTR) {
             ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
             return FALSE;
         },
         false},
    };
    for (const auto& row : rows) {
        store("[Kestrix Settings]\r\nTOTAL=3\r\n");
        const QByteArray after = "[Kestrix Settings]\r\nTOTAL=4\r\n";
        const auto result = platform::win32::replaceFileWith(file(), {after}, row.replace);
        EXPECT_EQ(result.inPlace, row.inPlace) << row.what << ": " << result.reason.toStdString();
        EXPECT_EQ(stored(), row.inPlace ? after : QByteArray("[Kestrix Settings]\r\nTOTAL=3\r\n"))
            << row.what;
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList(QStringLiteral("Info.ini")))
            << row.what;
    }
}

}  // namespace
}  // namespace kestrix::settings
