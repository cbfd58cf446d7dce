#pragma once

#include "platform/drive_map.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kestrix::test {

// A C: drive in a temporary folder with an empty windows/Fonts, and a program folder and a
// user configuration folder beside it.
class TempDrive {
public:
    TempDrive();

    [[nodiscard]] platform::DriveMap drives() const;
    [[nodiscard]] QString driveC() const;
    [[nodiscard]] QString fontsFolder() const;
    [[nodiscard]] QString appPath() const;
    // Info.ini beside the program.
    [[nodiscard]] QString settingsFile() const { return appPath() + QStringLiteral("/Info.ini"); }
    // The user's configuration folder, not made yet.
    [[nodiscard]] QString userConfigFolder() const;

    // The user's own font folder on this drive (platform::userFontFolder()), not made yet.
    [[nodiscard]] QString userFontsFolder() const;

    // Writes a file into the font folder, or the user's own, and returns its host path.
    QString addFont(const QString& name, const QByteArray& content = QByteArray("font"));
    QString addUserFont(const QString& name, const QByteArray& content = QByteArray("font"));
    void addFonts(const QStringList& names);
    [[nodiscard]] bool hasFont(const QString& name) const;
    [[nodiscard]] bool hasUserFont(const QString& name) const;

private:
    QTemporaryDir root_;
};

}  // namespace kestrix::test
