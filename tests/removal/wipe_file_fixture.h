#pragma once

#include "removal/wipe_file.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>

namespace kestrix::removal {

inline QString windowsPath(const QString& name) {
    return QStringLiteral("C:\\WINDOWS\\Fonts\\") + name;
}

// Bytes no wipe writes, so that any byte written shows.
inline QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + i % 26);
    }
    return bytes;
}

inline const QString fontsPath = QStringLiteral("C:\\WINDOWS\\Fonts");

class WipeFileTest : public testing::Test {
protected:
    platform::OpenFolder fonts() const {
        auto opened = drives_.openFolder(fontsPath);
        EXPECT_TRUE(std::holds_alternative<platform::OpenFolder>(opened));
        return std::get<platform::OpenFolder>(std::move(opened));
    }

    test::TempDrive drive_;
    platform::DriveMap drives_ = drive_.drives();
};

}  // namespace kestrix::removal
