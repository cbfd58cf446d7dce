#pragma once

#include "platform/drive_map.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>
#include <vector>

namespace kestrix::ui {

// A file list box that is never shown: the files of one folder whose names fit a pattern.
class FileList {
public:
    // pattern: ";"-separated wildcards such as "*.fon;*.ttf", letter case ignored.
    FileList(platform::DriveMap drives, const QString& pattern);

    // The Windows path of the folder to list; read by the next refresh().
    void setPath(const QString& windowsFolder) { path_ = windowsFolder; }

    // Reads the folder: the files whose names fit the pattern, sorted by name. Hidden and
    // system files, and names that Windows could not hold, or that would not lead back to the same
    // file, are left out. Returns why the folder could not be read, or nothing on success.
    [[nodiscard]] std::optional<QString> refresh();

    [[nodiscard]] int listCount() const { return static_cast<int>(names_.size()); }
    [[nodiscard]] int listIndex() const { return index_; }
    void setListIndex(int index) { index_ = index; }
    // The selected file's name without its folder; "" when none is selected.
    [[nodiscard]] QString fileName() const;

private:
    [[nodiscard]] bool fitsPattern(const QString& name) const;

    platform::DriveMap drives_;
    std::vector<QRegularExpression> wildcards_;
    QString path_;
    QStringList names_;
    int index_ = -1;
};

// Whether Windows could hold the name: none of \ / : * ? " < > | and no control characters.
[[nodiscard]] bool isWindowsFileName(const QString& name);

}  // namespace kestrix::ui
