#pragma once

#include "platform/drive_map.h"
#include "ui/caption_label.h"
#include "ui/file_list.h"
#include "ui/form.h"
#include "ui/found_list.h"
#include "ui/hidden_list.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace kestrix::ui {

// The main window's controls and menus with their design values. The behaviour lives with
// the parts of the program that handle each control's events.
class KestrixWindowDesign : public Form {
    Q_OBJECT
public:
    // referenceEntries: the items of lstDatabase; drives: where fileFonts finds its folder.
    KestrixWindowDesign(const QStringList& referenceEntries, platform::DriveMap drives);

    QGroupBox* frmFound;
    FoundList* lstFonts;
    QPushButton* cmdScan;
    QPushButton* cmdRemove;
    QGroupBox* frmStatistics;
    CaptionLabel* lbltxtScanned;
    FigureLabel* lblObjects;
    CaptionLabel* lbltxtExcessive;
    FigureLabel* lblFound;
    CaptionLabel* lbltxtPercentage;
    FigureLabel* lblPercent;
    CaptionLabel* lbltxtRemoved;
    FigureLabel* lblttl;
    StatusBar* s1;
    QProgressBar* xp1;
    HiddenList lstDatabase;
    FileList fileFonts;
    QTimer* tmrScan;
    QIcon i1;

    QAction* mnuFile;
    QAction* mnuExit;
    QAction* mnuOptions;
    QAction* cmdSelectAll;
    QAction* cmdUnselectAll;
    QAction* sep1;
    QAction* mnuReset;
    QAction* cmdLiveUpdate;
    QAction* mnuNotUsed;
    QAction* mnuAbout;
    QAction* mnuDonate;
    QAction* cmdDonate;
    QAction* cmdSeperator1;
    QAction* cmdGetanAccount;

private:
    void buildMenus();
};

// The status texts of panel 2.
inline const QString awaitingUserCommands = QStringLiteral("Awaiting user commands.");

}  // namespace kestrix::ui
