#include "app/kestrix_window.h"

#include "app/program.h"
#include "scan/reference_list.h"
#include "ui/events.h"

namespace kestrix::app {

using ui::LooseValue;

FrmKestrix::FrmKestrix(Program& program)
    : KestrixWindowDesign(scan::referenceList(), program.environment().drives),
      program_(program),
      scan_(*this, ScanPercent, ScannedCount, FoundCount, program.environment().fileOwner),
      counter_(*this, TotalDeleted,
               settings::locateSettingsFile(program.environment().appPath,
                                            program.environment().userConfigFolder)),
      removal_(*this, counter_, program.environment().drives, program.environment().fileOwner,
               program.environment().fontCalls),
      donate_(this, cmdDonate, cmdGetanAccount,
              about::BrowserLaunch(program.environment().startProgram)) {
    connect(cmdScan, &QPushButton::clicked, this, [this] { scan_.cmdScan_Click(); });
    if (!program.environment().fontReader.isEmpty()) {
        details_ = new details::FoundDetails(*lstFonts, program.environment().drives,
                                             program.environment().fontReader, this);
        removal_.onFileRemoved = [this](const QString& row) { details_->fileRemoved(row); };
    }
    connect(tmrScan, &QTimer::timeout, this, [this] {
        scan_.tmrScan_Timer();
        // Only the scan's last tick stops the timer.
        if (details_ && !tmrScan->isActive() && !ui::programEnding()) {
            details_->scanFinished();
        }
    });
    connect(mnuExit, &QAction::triggered, this, &FrmKestrix::mnuExit_Click);
    connect(cmdRemove, &QPushButton::clicked, this, [this] { removal_.cmdRemove_Click(); });
    connect(cmdSelectAll, &QAction::triggered, this, [this] { removal_.cmdSelectAll_Click(); });
    connect(cmdUnselectAll, &QAction::triggered, this, [this] { removal_.cmdUnselectAll_Click(); });
    connect(mnuReset, &QAction::triggered, this, [this] { counter_.mnuReset_Click(); });
    connect(mnuAbout, &QAction::triggered, this, &FrmKestrix::mnuAbout_Click);
    connect(cmdLiveUpdate, &QAction::triggered, this, &FrmKestrix::cmdLiveUpdate_Click);
    connect(cmdDonate, &QAction::triggered, this, [this] { donate_.cmdDonate_Click(); });
    connect(cmdGetanAccount, &QAction::triggered, this,
            [this] { donate_.cmdGetanAccount_Click(); });
}

void FrmKestrix::Form_Load() {
    ScanPercent = LooseValue::integer(0);
    ScannedCount = LooseValue::integer(0);
    counter_.load();
}

void FrmKestrix::Form_Unload() {
    program_.frmAbout.unload();
    program_.frmCheckUpdates.unload();
    ui::endProgram();
}

void FrmKestrix::mnuExit_Click() {
    program_.frmKestrix.unload();
}

void FrmKestrix::mnuAbout_Click() {
    program_.frmKestrix.hide();
    program_.frmAbout.show();
}

void FrmKestrix::cmdLiveUpdate_Click() {
    program_.frmKestrix.hide();
    program_.frmCheckUpdates.show();
}

}  // namespace kestrix::app
