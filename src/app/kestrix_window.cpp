#include "app/kestrix_window.h"

#include "app/program.h"
#include "scan/reference_list.h"
#include "ui/events.h"

namespace kestrix::app {

using ui::LooseValue;

FrmKestrix::FrmKestrix(Program& program)
    : KestrixWindowDesign(scan::referenceList(), program.environment().drives),
      program_(program),
      scan_(*this, ScanPercent, ScannedCount, FoundCount) {
    connect(cmdScan, &QPushButton::clicked, this, [this] { scan_.cmdScan_Click(); });
    connect(tmrScan, &QTimer::timeout, this, [this] { scan_.tmrScan_Timer(); });
    connect(mnuExit, &QAction::triggered, this, &FrmKestrix::mnuExit_Click);
}

void FrmKestrix::Form_Load() {
    ScanPercent = LooseValue::integer(0);
    ScannedCount = LooseValue::integer(0);
}

void FrmKestrix::Form_Unload() {
    ui::endProgram();
}

void FrmKestrix::mnuExit_Click() {
    program_.frmKestrix.unload();
}

}  // namespace kestrix::app
