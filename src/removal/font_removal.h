#pragma once

#include "platform/drive_map.h"
#include "platform/system_fonts.h"
#include "settings/lifetime_counter.h"
#include "ui/kestrix_window_design.h"

#include <functional>
#include <optional>
#include <variant>

namespace kestrix::removal {

// Optimize, Select All and Unselect All: the commands over the rows of lstFonts.
class FontRemoval {
public:
    FontRemoval(ui::KestrixWindowDesign& window, settings::LifetimeCounter& counter,
                platform::DriveMap drives);

    // Overwrites and deletes the file of every checked row, counting each one, then empties
    // the list. A file that cannot be removed is skipped and named at the end.
    void cmdRemove_Click();
    void cmdSelectAll_Click();
    void cmdUnselectAll_Click();

    // Called with a row's text once Optimize has removed the row's file.
    std::function<void(const QString& row)> onFileRemoved;

private:
    // The rows' folder, opened once per run: nothing done to its path meanwhile can steer the
    // run to another folder.
    struct RunFolder {
        QString path;                                        // as the rows name it
        std::variant<platform::OpenFolder, QString> opened;  // or why it could not be opened
    };
    [[nodiscard]] RunFolder openRowsFolder() const;
    // Returns why the row's file was not removed; nothing when it was.
    [[nodiscard]] std::optional<QString> removeRowFile(const RunFolder& folder, const QString& row,
                                                       platform::SystemFonts& fonts) const;
    // Removes the font file at the Windows path in the open folder as the system removes a
    // font: the system lets go of it first, and forgets it once it is gone.
    [[nodiscard]] std::optional<QString> removeFontFile(const platform::OpenFolder& folder,
                                                        const QString& path,
                                                        platform::SystemFonts& fonts) const;
    void checkEveryRow(bool checked);
    void reportNotRemoved(const QStringList& failures);

    ui::KestrixWindowDesign& w_;
    settings::LifetimeCounter& counter_;
    platform::DriveMap drives_;
};

}  // namespace kestrix::removal
