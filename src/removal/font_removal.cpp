#include "removal/font_removal.h"

#include "removal/wipe_file.h"
#include "ui/events.h"
#include "ui/message_box.h"

namespace kestrix::removal {

FontRemoval::FontRemoval(ui::KestrixWindowDesign& window, settings::LifetimeCounter& counter,
                         platform::DriveMap drives)
    : w_(window), counter_(counter), drives_(std::move(drives)) {}

void FontRemoval::cmdRemove_Click() {
    if (!ui::askYesNo(&w_, QStringLiteral("Are you sure you want to remove the selected fonts?"))) {
        return;
    }
    // The run needs its rows in place until it ends: no new scan, no second run meanwhile.
    w_.cmdScan->setEnabled(false);
    w_.cmdRemove->setEnabled(false);
    QStringList failures;
    const int count = w_.lstFonts->rowCount();
    const RunFolder folder = openRowsFolder();
    platform::SystemFonts fonts;
    for (int i = 1; i <= count && i <= w_.lstFonts->rowCount(); ++i) {
        if (w_.lstFonts->isChecked(i)) {
            const QString row = w_.lstFonts->rowText(i);
            if (const auto failure = removeRowFile(folder, row, fonts)) {
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

FontRemoval::RunFolder FontRemoval::openRowsFolder() const {
    if (w_.lstFonts->rowCount() == 0) {
        return {QString(), QStringLiteral("there are no rows")};
    }
    const QString path = splitPath(w_.lstFonts->rowText(1)).folder;
    auto opened = drives_.openFolder(path);
    if (std::holds_alternative<QString>(opened)) {
        return {path, std::move(opened)};
    }
    // The file system may tell letter case apart where Windows does not: the lower-case path
    // must lead to the very folder and file the row names, never to a sibling spelled otherwise.
    const auto lower = drives_.openFolder(path.toLower());
    if (const auto* failure = std::get_if<QString>(&lower)) {
        return {path, *failure};
    }
    if (!std::get<platform::OpenFolder>(opened).isSameFolder(
            std::get<platform::OpenFolder>(lower))) {
        return {path, QStringLiteral("another folder is spelled in lower case")};
    }
    return {path, std::move(opened)};
}

std::optional<QString> FontRemoval::removeRowFile(const RunFolder& folder, const QString& row,
                                                  platform::SystemFonts& fonts) const {
    if (const auto* failure = std::get_if<QString>(&folder.opened)) {
        return QStringLiteral("the font folder cannot be opened: ") + *failure;
    }
    const FolderAndName parts = splitPath(row);
    if (parts.folder != folder.path) {
        return QStringLiteral("not in the folder this run removes from");
    }
    const auto& opened = std::get<platform::OpenFolder>(folder.opened);
    const platform::EntryMatch meant = opened.find(parts.name);
    if (auto failure = unusableForWipe(meant)) {
        return failure;
    }
    const platform::EntryMatch lower = opened.find(parts.name.toLower());
    if (lower.name == meant.name) {
        return removeFontFile(opened, folder.path + u'\\' + meant.name, fonts);
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
    fonts.unload(hostPath);
    auto failure = WipeFile(folder, splitPath(path).name);
    if (failure) {
        fonts.reload(hostPath);
    } else {
        fonts.forget(hostPath);
    }
    return failure;
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
