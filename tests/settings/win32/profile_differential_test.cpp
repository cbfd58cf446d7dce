// Our ReadSetting beside Windows' own GetPrivateProfileStringA, row by row of the reading rules.
#include "settings/profile_file.h"
#include "settings/profile_file_fixture.h"
#include "settings/read_cases.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <QDir>
#include <array>

namespace kestrix::settings {
namespace {

// What kernel32 reads, called as the original program calls it: the key in lower case, a
// 750-character buffer, texts in the ANSI code page.
QString windowsReads(const QString& section, const QString& key, const QString& file) {
    std::array<char, 750> buffer{};
    const DWORD length = ::GetPrivateProfileStringA(
        section.toLocal8Bit().constData(), key.toLower().toLocal8Bit().constData(), "",
        buffer.data(), static_cast<DWORD>(buffer.size()),
        QDir::toNativeSeparators(file).toLocal8Bit().constData());
    return QString::fromLocal8Bit(buffer.data(), static_cast<qsizetype>(length));
}

TEST_F(ProfileFileTest, ReadsWhatWindowsReadsSaveWhereItMendsWindows) {
    int row = 0;
    for (const auto& c : readCases()) {
        // A file of its own for each row: Windows keeps the profiles it read in a cache.
        const QString own = dir_.filePath(QStringLiteral("Info%1.ini").arg(++row));
        test::writeFile(own, c.file);
        const QString ours = ReadSetting(c.section, c.key, own);
        const QString windows = windowsReads(c.section, c.key, own);
        if (c.differsFromWindows) {
            EXPECT_NE(ours, windows) << c.what << ": said to differ (" << c.differsFromWindows
                                     << "), but Windows agrees";
        } else {
            EXPECT_EQ(ours, windows) << c.what;
        }
    }
}

}  // namespace
}  // namespace kestrix::settings
