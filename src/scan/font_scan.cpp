#include "scan/font_scan.h"

#include "platform/host_folders.h"
#include "scan/format_count.h"
#include "scan/names_match.h"
#include "ui/events.h"
#include "ui/message_box.h"

namespace kestrix::scan {

using ui::LooseValue;

FontScan::FontScan(ui::KestrixWindowDesign& window, LooseValue& ScanPercent,
                   LooseValue& ScannedCount, LooseValue& FoundCount, platform::OwnerLookup ownerOf)
    : w_(window),
      ScanPercent(ScanPercent),
      ScannedCount(ScannedCount),
      FoundCount(FoundCount),
      ownerOf_(std::move(ownerOf)) {
    for (const auto& entry : w_.lstDatabase.items()) {
        entryForms_.emplace_back(entry);
    }
}

void FontScan::cmdScan_Click() {
    if (w_.lstFonts->rowCount() > 0 &&
        !ui::askYesNo(&w_, QStringLiteral("Are you sure you would like to start a new scan? You "
                                          "already have fonts ready to delete."))) {
        return;
    }
    const bool removeWasEnabled = w_.cmdRemove->isEnabled();
    const QString statusBefore = w_.s1->panelText(2);
    w_.mnuFile->setEnabled(false);
    w_.mnuOptions->setEnabled(false);
    w_.cmdRemove->setEnabled(false);
    w_.s1->setPanelText(2, QStringLiteral("Building and scanning index."));
    if (!listFolder()) {
        w_.mnuFile->setEnabled(true);
        w_.mnuOptions->setEnabled(true);
        w_.cmdRemove->setEnabled(removeWasEnabled);
        w_.s1->setPanelText(2, statusBefore);
        return;
    }
    w_.fileFonts.setListIndex(0);
    w_.lstDatabase.setListIndex(0);
    w_.tmrScan->start();
    w_.cmdScan->setEnabled(false);
    w_.lstFonts->clear();
    ScanPercent = LooseValue::integer(0);
    ScannedCount = LooseValue::integer(0);
    FoundCount = LooseValue::integer(0);
    w_.lblFound->setText(QStringLiteral("0"));
    w_.lblPercent->setText(QStringLiteral("0%"));
    w_.xp1->setValue(0);
    w_.xp1->setMaximum(w_.fileFonts.listCount());
}

bool FontScan::listFolder() {
    w_.fileFonts.setPaths({fontsFolder, platform::userFontFolder()});
    auto failure = w_.fileFonts.refresh();
    if (!failure && w_.fileFonts.listCount() == 0) {
        failure = ui::FileList::Failure{fontsFolder,
                                        QStringLiteral("it holds no font file (*.fon, *.ttf)")};
    }
    if (failure) {
        ui::showFailure(&w_, QStringLiteral("The font folder %1 cannot be scanned: %2.")
                                 .arg(failure->folder, failure->reason));
    }
    return !failure;
}

void FontScan::tmrScan_Timer() {
    // A tick that falls due while another one yields is dropped: the cursors and counters it
    // would move belong to the running tick.
    if (tickRunning_ || ui::programEnding()) {
        return;
    }
    tickRunning_ = true;
    runTick();
    tickRunning_ = false;
}

void FontScan::runTick() {
    const BaseNameForms file(w_.fileFonts.fileName());
    bool match = false;
    if (!classify(file, match, true)) {
        return;
    }
    if (w_.fileFonts.listIndex() == w_.fileFonts.listCount() - 1) {
        finishScan(file, match);
        return;
    }
    w_.xp1->setValue(w_.fileFonts.listIndex());
    w_.lstDatabase.setListIndex(0);
    listIfExcessive(file, match);
    w_.fileFonts.setListIndex(w_.fileFonts.listIndex() + 1);
    countScanned();
}

bool FontScan::matchesEntryUnderCursor(const BaseNameForms& file) const {
    return NamesMatch(file, entryForms_.at(static_cast<std::size_t>(w_.lstDatabase.listIndex())));
}

bool FontScan::classify(const BaseNameForms& file, bool& match, bool stopAtLastFile) {
    ui::HiddenList& entries = w_.lstDatabase;
    const int count = entries.listCount();
    entries.setListIndex(0);
    for (int pass = 1; pass < count; ++pass) {
        match = matchesEntryUnderCursor(file) || match;
        entries.setListIndex(entries.listIndex() + 1);
        if (entries.listIndex() == count - 1) {
            match = matchesEntryUnderCursor(file) || match;
        }
        // The last file is classified by the closing part of the tick, after this first pass.
        if (stopAtLastFile && w_.fileFonts.listIndex() == w_.fileFonts.listCount() - 1) {
            return true;
        }
        if (!ui::doEventsButTimers()) {
            return false;
        }
    }
    return true;
}

void FontScan::finishScan(const BaseNameForms& file, bool match) {
    w_.fileFonts.setListIndex(w_.fileFonts.listCount() - 1);
    if (!classify(file, match, false)) {
        return;
    }
    listIfExcessive(file, match);
    countScanned();
    w_.cmdScan->setEnabled(true);
    w_.tmrScan->stop();
    w_.mnuFile->setEnabled(true);
    w_.mnuOptions->setEnabled(true);
    const int rows = w_.lstFonts->rowCount();
    ScanPercent = LooseValue::text(PercentText(rows, w_.fileFonts.listCount()));
    w_.lblPercent->setText(ScanPercent.toText() + u'%');
    if (rows > 0) {
        w_.cmdRemove->setEnabled(true);
    }
    w_.s1->setPanelText(
        2, QStringLiteral("Found ") + FormatCount(rows) + QStringLiteral(" excessive fonts."));
}

void FontScan::listIfExcessive(const BaseNameForms& file, bool match) {
    if (match || isWindowsOwn(file)) {
        return;
    }
    w_.lstFonts->addFirst(w_.fileFonts.filePath());
    w_.lstFonts->setChecked(1, true);
    FoundCount = FoundCount.plusOne();
    w_.lblFound->setText(FormatCount(FoundCount.toInteger()));
}

bool FontScan::isWindowsOwn(const BaseNameForms& file) const {
    // After the reference entries, in one look-up; the owner only for a file matching no name.
    return windowsFonts_.contains(file) ||
           ownerOf_(w_.fileFonts.hostPath()) == platform::FileOwner::Windows;
}

void FontScan::countScanned() {
    ScannedCount = ScannedCount.plusOne();
    w_.lblObjects->setText(FormatCount(ScannedCount.toInteger()) + u'/' +
                           FormatCount(w_.fileFonts.listCount()));
}

}  // namespace kestrix::scan
