// The wipe against what only Windows file systems hold: junctions.
#include "removal/wipe_file_fixture.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <QDir>
#include <QTemporaryDir>
#include <iostream>
#include <vector>

namespace kestrix::removal {
namespace {

using test::contentOf;

// Makes the empty folder `junction` a junction to the folder `target`. Returns why it could not.
std::optional<QString> makeJunction(const QString& junction, const QString& target) {
    if (!QDir().mkpath(junction)) {
        return QStringLiteral("the folder cannot be made");
    }
    const HANDLE folder = ::CreateFileW(
        QDir::toNativeSeparators(junction).toStdWString().c_str(), GENERIC_WRITE, 0, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        return QStringLiteral("the folder cannot be opened");
    }
    // The mount point layout: tag, length, reserved, then the substitute and print names.
    const std::wstring substitute = L"\\??\\" + QDir::toNativeSeparators(target).toStdWString();
    const std::wstring print = QDir::toNativeSeparators(target).toStdWString();
    const auto bytes = [](const std::wstring& text) {
        return static_cast<WORD>(text.size() * sizeof(wchar_t));
    };
    std::vector<WORD> data = {0, bytes(substitute), static_cast<WORD>(bytes(substitute) + 2),
                              bytes(print)};
    data.insert(data.end(), substitute.begin(), substitute.end());
    data.push_back(0);
    data.insert(data.end(), print.begin(), print.end());
    data.push_back(0);
    std::vector<BYTE> buffer(8);
    *reinterpret_cast<DWORD*>(buffer.data()) = IO_REPARSE_TAG_MOUNT_POINT;
    *reinterpret_cast<WORD*>(buffer.data() + 4) = static_cast<WORD>(data.size() * sizeof(WORD));
    const auto* raw = reinterpret_cast<const BYTE*>(data.data());
    buffer.insert(buffer.end(), raw, raw + data.size() * sizeof(WORD));
    DWORD returned = 0;
    const bool made =
        ::DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                          static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    const DWORD error = ::GetLastError();
    ::CloseHandle(folder);
    if (!made) {
        return QStringLiteral("Windows error %1").arg(error);
    }
    return std::nullopt;
}

TEST_F(WipeFileTest, FolderIsRefusedAndJunctionRemovedAsANameOnly) {
    ASSERT_TRUE(QDir(drive_.fontsFolder()).mkdir(QStringLiteral("Folder.ttf")));
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Folder.ttf")), drives_),
              QStringLiteral("a folder"));
    EXPECT_TRUE(QFileInfo(drive_.fontsFolder() + QStringLiteral("/Folder.ttf")).isDir());

    QTemporaryDir elsewhere;
    const QString precious = elsewhere.filePath(QStringLiteral("precious.ttf"));
    test::writeFile(precious, pattern(5000));
    const QString junction = drive_.fontsFolder() + QStringLiteral("/Junction.ttf");
    if (auto failure = makeJunction(junction, elsewhere.path())) {
        std::cout << "not made here, a junction: " << failure->toStdString() << '\n';
        return;
    }
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Junction.ttf")), drives_), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(junction));
    EXPECT_EQ(contentOf(precious), pattern(5000));
}

}  // namespace
}  // namespace kestrix::removal
