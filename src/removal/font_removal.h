#pragma once

#include "platform/drive_map.h"
#include "platform/file_owner.h"
#include "platform/system_fonts.h"
#include "settings/lifetime_counter.h"
#include "ui/kestrix_window_design.h"

#include <functional>
#include <map>
#include <optional>
#include <variant>

namespace kestrix::removal {

// Optimize, Select All and Unselect All: the commands over the rows of lstFonts.
class FontRemoval {
public:
    // ownerOf: who owns a file; fontCalls: the system's calls that unload and load a font.
    FontRemoval(ui::KestrixWindowDesign& window, settings::LifetimeCounter& counter,
                platform::DriveMap drives, platform::OwnerLookup ownerOf,
                platform::FontCalls fontCalls);

    // Overwrites and deletes the file of every checked row, counting each one, then empties
    // the list. A file that cannot be removed is skipped and named at the end.
    void cmdRemove_Click();
    void cmdSelectAll_Click();
    void cmdUnselectAll_Click();

    // Called with a row's text once Optimize has removed the row's file.
    std::function<void(const QString& row)> onFileRemoved;

private:
    // A folder the rows name, opened once per run: nothing done to its path meanwhile can steer
    // the run to another folder.
    using RunFolder = std::variant<platform::OpenFolder, QString>;  // or why it could not be
    using RunFolders = std::map<QString, RunFolder>;                // by the path the rows name
    [[nodiscard]] RunFolder openRowsFolder(const QString& path) const;
    // Returns why the row's file was not removed; nothing when it was.
    [[nodiscard]] std::optional<QString> removeRowFile(RunFolders& folders, const QString& row,
                                                       platform::SystemFonts& fonts) const;
    // Removes the font file at the Windows path in the open folder as the system removes a
    // font: asked first whether it may go, then let go of by the system and forgotten once its
    // content is gone.
    [[nodiscard]] std::optional<QString> removeFontFile(const platform::OpenFolder& folder,
                                                        const QString& path,
                                                        platform::SystemFonts& fonts) const;
    void checkEveryRow(bool checked);
    void reportNotRemoved(const QStringList& failures);

    ui::KestrixWindowDesign& w_;
    settings::LifetimeCounter& counter_;
    platform::DriveMap drives_;
    platform::OwnerLookup ownerOf_;
    platform::FontCalls fontCalls_;
};

}  // namespace kestrix::removal
