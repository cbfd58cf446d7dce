#include "support/temp_drive.h"

#include "platform/host_folders.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrix::test {

TempDrive::TempDrive() {
    EXPECT_TRUE(root_.isValid());
    EXPECT_TRUE(QDir().mkpath(fontsFolder()));
    EXPECT_TRUE(QDir().mkpath(appPath()));
}

platform::DriveMap TempDrive::drives() const {
    return platform::DriveMap::withDriveC(driveC());
}

QString TempDrive::driveC() const {
    return root_.filePath(QStringLiteral("drive_c"));
}

QString TempDrive::fontsFolder() const {
    return driveC() + QStringLiteral("/windows/Fonts");
}

QString TempDrive::appPath() const {
    return root_.filePath(QStringLiteral("program"));
}

QString TempDrive::userConfigFolder() const {
    return root_.filePath(QStringLiteral("config"));
}

QString TempDrive::userFontsFolder() const {
    return drives().resolve(platform::userFontFolder()).hostPath;
}

QString TempDrive::addUserFont(const QString& name, const QByteArray& content) {
    EXPECT_TRUE(QDir().mkpath(userFontsFolder()));
    const QString path = userFontsFolder() + u'/' + name;
    writeFile(path, content);
    return path;
}

QString TempDrive::addFont(const QString& name, const QByteArray& content) {
    const QString path = fontsFolder() + u'/' + name;
    writeFile(path, content);
    return path;
}

void TempDrive::addFonts(const QStringList& names) {
    for (const auto& name : names) {
        addFont(name);
    }
}

bool TempDrive::hasFont(const QString& name) const {
    const QFileInfo info(fontsFolder() + u'/' + name);
    return info.exists() || info.isSymLink();
}

bool TempDrive::hasUserFont(const QString& name) const {
    return QFileInfo::exists(userFontsFolder() + u'/' + name);
}

}  // namespace kestrix::test
