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
    for (int i = 1; i <= count && i <= w_.lstFonts->rowCount(); ++i) {
        if (w_.lstFonts->isChecked(i)) {
            const QString row = w_.lstFonts->rowText(i);
            if (const auto failure = removeRowFile(row)) {
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

std::optional<QString> FontRemoval::removeRowFile(const QString& row) const {
    // The file system may tell letter case apart where Windows does not: the lower-case path
    // must lead to the very file the row names, never to a sibling spelled differently.
    const platform::ResolvedPath meant = drives_.resolve(row);
    if (auto failure = unusableForWipe(meant)) {
        return failure;
    }
    const QString path = row.toLower();
    if (drives_.resolve(path).hostPath != meant.hostPath) {
        return platform::describeUnusable({platform::ResolvedPath::Status::Ambiguous, {}});
    }
    return WipeFile(path, drives_);
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
