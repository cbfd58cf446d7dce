#pragma once

#include "platform/file_owner.h"
#include "scan/names_match.h"
#include "scan/windows_fonts.h"
#include "ui/kestrix_window_design.h"
#include "ui/loose_value.h"

#include <vector>

namespace kestrix::scan {

// The folder that Scan walks, as the program names it on every system.
inline const QString fontsFolder = QStringLiteral("C:\\WINDOWS\\Fonts");

// Scan: walks the font folder, then the user's own, one file per tick of tmrScan and lists
// every file that matches no reference entry and is none of Windows' own fonts, checked, newest
// first. Position and results live in the window's controls and in the scan figures the window
// holds.
class FontScan {
public:
    // ownerOf: who owns a file, asked of those that match nothing else.
    FontScan(ui::KestrixWindowDesign& window, ui::LooseValue& ScanPercent,
             ui::LooseValue& ScannedCount, ui::LooseValue& FoundCount,
             platform::OwnerLookup ownerOf);

    void cmdScan_Click();
    void tmrScan_Timer();

private:
    // Reads the folder; tells the user and returns false when there is nothing to scan.
    bool listFolder();
    void runTick();
    // Tests the current file against the reference entries from entry 0 on, yielding after
    // each pass. Returns false when the program is ending.
    bool classify(const BaseNameForms& file, bool& match, bool stopAtLastFile);
    // Whether the file matches the reference entry under the cursor.
    [[nodiscard]] bool matchesEntryUnderCursor(const BaseNameForms& file) const;
    void finishScan(const BaseNameForms& file, bool match);
    // Lists the current file unless it matched a reference entry or is one of Windows' own.
    void listIfExcessive(const BaseNameForms& file, bool match);
    [[nodiscard]] bool isWindowsOwn(const BaseNameForms& file) const;
    void countScanned();

    ui::KestrixWindowDesign& w_;
    ui::LooseValue& ScanPercent;
    ui::LooseValue& ScannedCount;
    ui::LooseValue& FoundCount;
    // The reference entries' base names, by lstDatabase index; the entries never change.
    std::vector<BaseNameForms> entryForms_;
    const WindowsFonts windowsFonts_;
    platform::OwnerLookup ownerOf_;
    bool tickRunning_ = false;
};

}  // namespace kestrix::scan
