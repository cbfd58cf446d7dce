#pragma once

#include "about/donate_menu.h"
#include "details/found_details.h"
#include "removal/font_removal.h"
#include "scan/font_scan.h"
#include "settings/lifetime_counter.h"
#include "ui/kestrix_window_design.h"
#include "ui/loose_value.h"

namespace kestrix::app {

class Program;

// frmKestrix: the main window, its state values and the routing of its events.
class FrmKestrix : public ui::KestrixWindowDesign {
    Q_OBJECT
public:
    explicit FrmKestrix(Program& program);

    void Form_Load();
    void Form_Unload() override;
    void mnuExit_Click();
    void mnuAbout_Click();
    void cmdLiveUpdate_Click();

    ui::LooseValue ScanPercent;
    ui::LooseValue ScannedCount;
    ui::LooseValue TotalDeleted;
    ui::LooseValue FoundCount;

private:
    Program& program_;
    scan::FontScan scan_;
    settings::LifetimeCounter counter_;
    removal::FontRemoval removal_;
    about::DonateMenu donate_;
    details::FoundDetails* details_ = nullptr;  // none without a font reader
};

}  // namespace kestrix::app
