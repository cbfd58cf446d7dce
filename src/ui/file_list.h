#pragma once

#include "platform/drive_map.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

namespace kestrix::ui {

// A file list box that is never shown: the files of one folder, or of several one after the
// other, whose names fit a pattern.
class FileList {
public:
    // pattern: ";"-separated wildcards such as "*.fon;*.ttf", letter case ignored.
    FileList(platform::DriveMap drives, const QString& pattern);

    // The Windows path of the folder to list, or of the folders in their order; read by the
    // next refresh().
    void setPath(const QString& windowsFolder) { paths_ = QStringList{windowsFolder}; }
    void setPaths(QStringList windowsFolders) { paths_ = std::move(windowsFolders); }

    struct Failure {
        QString folder;  // the Windows path of the folder that could not be read
        QString reason;
    };
    // Reads the folders: of each, in turn, the files whose names fit the pattern, sorted by
    // name. Hidden and system files, and names that Windows could not hold, or that would not lead
    // back to the same file, are left out. A folder that does not exist adds nothing; when no file
    // is listed, the first folder's absence is the failure. Returns why a folder could not be read,
    // or nothing.
    [[nodiscard]] std::optional<Failure> refresh();

    [[nodiscard]] int listCount() const { return static_cast<int>(entries_.size()); }
    [[nodiscard]] int listIndex() const { return index_; }
    void setListIndex(int index) { index_ = index; }
    // The selected file's name without its folder; "" when none is selected.
    [[nodiscard]] QString fileName() const;
    // The selected file's Windows path, and where it is on this machine; "" when none is.
    [[nodiscard]] QString filePath() const;
    [[nodiscard]] QString hostPath() const;

private:
    struct ListedFolder {
        QString windowsPath;
        QString hostPath;  // where it was found
    };
    struct Entry {
        QString name;
        std::size_t folder;  // index into folders_
    };
    [[nodiscard]] bool fitsPattern(const QString& name) const;
    // The names the folder found at that place lists, or why it cannot be read.
    [[nodiscard]] std::variant<QStringList, QString> readFolder(
        const platform::ResolvedPath& folder) const;
    [[nodiscard]] const Entry* selected() const;

    platform::DriveMap drives_;
    std::vector<QRegularExpression> wildcards_;
    QStringList paths_;
    std::vector<ListedFolder> folders_;  // as the last refresh found them
    std::vector<Entry> entries_;
    int index_ = -1;
};

// Whether Windows could hold the name: none of \ / : * ? " < > | and no control characters.
[[nodiscard]] bool isWindowsFileName(const QString& name);

}  // namespace kestrix::ui
