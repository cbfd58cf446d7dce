#include "removal/font_removal.h"

#include "removal/wipe_file.h"
#include "ui/events.h"
#include "ui/message_box.h"

namespace kestrix::removal {

FontRemoval::FontRemoval(ui::KestrixWindowDesign& window, settings::LifetimeCounter& counter,
                         platform::DriveMap drives, platform::OwnerLookup ownerOf,
                         platform::FontCalls fontCalls)
    : w_(window),
      counter_(counter),
      drives_(std::move(drives)),
      ownerOf_(std::move(ownerOf)),
      fontCalls_(std::move(fontCalls)) {}

void FontRemoval::cmdRemove_Click() {
    if (!ui::askYesNo(&w_, QStringLiteral("Are you sure you want to remove the selected fonts?"))) {
        return;
    }
    // The run needs its rows in place until it ends: no new scan, no second run meanwhile.
    w_.cmdScan->setEnabled(false);
    w_.cmdRemove->setEnabled(false);
    QStringList failures;
    const int count = w_.lstFonts->rowCount();
    RunFolders folders;
    platform::SystemFonts fonts(fontCalls_);
    for (int i = 1; i <= count && i <= w_.lstFonts->rowCount(); ++i) {
        if (w_.lstFonts->isChecked(i)) {
            const QString row = w_.lstFonts->rowText(i);
            if (const auto failure = removeRowFile(folders, row, fonts)) {
                failures << row + QStringLiteral(": ") + *failure;
            } else {
                if (onFileRemoved) {
                    onFileRemoved(row);
                }
                counter_.raise();
            }
        }
        if (!ui::doEvents()) {
            return;
        }
    }
    reportNotRemoved(failures);
    if (ui::programEnding()) {
        return;
    }
    w_.lstFonts->clear();
    w_.cmdRemove->setEnabled(false);
    w_.cmdScan->setEnabled(true);
    w_.s1->setPanelText(2, ui::awaitingUserCommands);
}

FontRemoval::RunFolder FontRemoval::openRowsFolder(const QString& path) const {
    auto opened = drives_.openFolder(path);
    if (std::holds_alternative<QString>(opened)) {
        return opened;
    }
    // The file system may tell letter case apart where Windows does not: the lower-case path
    // must lead to the very folder and file the row names, never to a sibling spelled otherwise.
    const auto lower = drives_.openFolder(path.toLower());
    if (const auto* failure = std::get_if<QString>(&lower)) {
        return *failure;
    }
    if (!std::get<platform::OpenFolder>(opened).isSameFolder(
            std::get<platform::OpenFolder>(lower))) {
        return QStringLiteral("another folder is spelled in lower case");
    }
    return opened;
}

std::optional<QString> FontRemoval::removeRowFile(RunFolders& folders, const QString& row,
                                                  platform::SystemFonts& fonts) const {
    const FolderAndName parts = splitPath(row);
    auto known = folders.find(parts.folder);
    if (known == folders.end()) {
        known = folders.emplace(parts.folder, openRowsFolder(parts.folder)).first;
    }
    if (const auto* failure = std::get_if<QString>(&known->second)) {
        return QStringLiteral("the font folder cannot be opened: ") + *failure;
    }
    const auto& opened = std::get<platform::OpenFolder>(known->second);
    const platform::EntryMatch meant = opened.find(parts.name);
    if (auto failure = unusableForWipe(meant)) {
        return failure;
    }
    const platform::EntryMatch lower = opened.find(parts.name.toLower());
    if (lower.name == meant.name) {
        return removeFontFile(opened, parts.folder + u'\\' + meant.name, fonts);
    }
    if (lower.status == platform::EntryMatch::Status::Found) {
        return QStringLiteral("another file is spelled in lower case");
    }
    return unusableForWipe(lower);
}

std::optional<QString> FontRemoval::removeFontFile(const platform::OpenFolder& folder,
                                                   const QString& path,
                                                   platform::SystemFonts& fonts) const {
    const QString hostPath = drives_.resolve(path).hostPath;
    const QString name = splitPath(path).name;
    // Nothing is unloaded that is not going to go.
    if (ownerOf_(hostPath) == platform::FileOwner::Windows) {
        return QStringLiteral("part of Windows");
    }
    if (auto refused = platform::WipeTarget::refusal(folder, name)) {
        return refused;
    }
    fonts.unload(hostPath);
    const auto failure = wipeAndDelete(folder, name);
    if (!failure) {
        fonts.forget(hostPath);
        return std::nullopt;
    }
    // Its content gone, the font is of no use loaded again, nor under its registry value.
    if (failure->overwritten) {
        fonts.forget(hostPath);
    } else {
        fonts.reload(hostPath);
    }
    return failure->reason;
}

void FontRemoval::reportNotRemoved(const QStringList& failures) {
    if (failures.isEmpty()) {
        return;
    }
    ui::showFailure(&w_,
                    QStringLiteral("These fonts were not removed:\n\n") + failures.join(u'\n'));
}

void FontRemoval::cmdSelectAll_Click() {
    checkEveryRow(true);
}

void FontRemoval::cmdUnselectAll_Click() {
    checkEveryRow(false);
}

void FontRemoval::checkEveryRow(bool checked) {
    // The row count is looked at again after each yield: a run or a scan started meanwhile may
    // have emptied the list.
    for (int i = 1; i <= w_.lstFonts->rowCount(); ++i) {
        w_.lstFonts->setChecked(i, checked);
        if (!ui::doEvents()) {
            return;
        }
    }
}

}  // namespace kestrix::removal
