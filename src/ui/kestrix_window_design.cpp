#include "ui/kestrix_window_design.h"

#include "ui/twips.h"

#include <QMenu>
#include <QMenuBar>

namespace kestrix::ui {

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* control = new QPushButton(caption, parent);
    control->setObjectName(name);
    return control;
}

CaptionLabel* label(QWidget* parent, const QString& name, const QString& caption,
                    Qt::Alignment alignment = Qt::AlignLeft) {
    auto* control = new CaptionLabel(parent, caption, alignment);
    control->setObjectName(name);
    return control;
}

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* item =
        caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QAction* menu(QMenuBar* bar, const QString& name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu->menuAction();
}

}  // namespace

KestrixWindowDesign::KestrixWindowDesign(const QStringList& referenceEntries,
                                         platform::DriveMap drives)
    : Form(QStringLiteral("Kestrix - Main"), QSize(5655, 2745),
           QIcon(QStringLiteral(":/icons/kestrix.xpm"))),
      lstDatabase(referenceEntries),
      fileFonts(std::move(drives), QStringLiteral("*.fon;*.ttf")),
      i1(QStringLiteral(":/icons/font.xpm")) {
    QWidget* client = clientArea();

    frmFound = new QGroupBox(client);
    frmFound->setObjectName(QStringLiteral("frmFound"));
    place(frmFound, 120, 30, 3615, 2330);
    lstFonts = new FoundList(frmFound, i1);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    lstFonts->setAccessibleName(QStringLiteral("Excessive fonts"));
    place(lstFonts, 30, 120, 3555, 2175);

    cmdScan = button(client, QStringLiteral("cmdScan"), QStringLiteral("Scan"));
    place(cmdScan, 3840, 120, 1695, 375);
    cmdRemove = button(client, QStringLiteral("cmdRemove"), QStringLiteral("Optimize"));
    place(cmdRemove, 3840, 600, 1695, 375);
    cmdRemove->setEnabled(false);

    frmStatistics = new QGroupBox(QStringLiteral("Font Statistics:"), client);
    frmStatistics->setObjectName(QStringLiteral("frmStatistics"));
    place(frmStatistics, 3840, 1080, 1695, 1270);
    const auto addFigure = [this](const QString& captionName, const QString& caption,
                                  const QString& figureName, const QString& figure,
                                  int captionWidth, int figureLeft, int figureWidth, int top) {
        auto* captionLabel = label(frmStatistics, captionName, caption);
        captionLabel->placeAt(120, top, captionWidth, 195, 0, frmStatistics->width());
        auto* figureLabel = label(frmStatistics, figureName, figure, Qt::AlignRight);
        figureLabel->setAccessibleDescription(caption);
        figureLabel->placeAt(figureLeft, top, figureWidth, 195,
                             captionLabel->geometry().right() + 3, frmStatistics->width() - 3);
        return std::pair{captionLabel, figureLabel};
    };
    std::tie(lbltxtScanned, lblObjects) =
        addFigure(QStringLiteral("lbltxtScanned"), QStringLiteral("Scanned:"),
                  QStringLiteral("lblObjects"), QStringLiteral("0"), 675, 1440, 90, 240);
    std::tie(lbltxtExcessive, lblFound) =
        addFigure(QStringLiteral("lbltxtExcessive"), QStringLiteral("Excessive:"),
                  QStringLiteral("lblFound"), QStringLiteral("0"), 765, 1440, 90, 480);
    std::tie(lbltxtPercentage, lblPercent) =
        addFigure(QStringLiteral("lbltxtPercentage"), QStringLiteral("Percentage:"),
                  QStringLiteral("lblPercent"), QStringLiteral("0%"), 885, 1320, 255, 720);
    std::tie(lbltxtRemoved, lblttl) =
        addFigure(QStringLiteral("lbltxtRemoved"), QStringLiteral("Total Deleted:"),
                  QStringLiteral("lblttl"), QStringLiteral("0"), 1020, 1440, 90, 960);

    s1 = new StatusBar(client, {650, 2230}, 3);
    s1->setObjectName(QStringLiteral("s1"));
    s1->setFont(designFont());
    place(s1, 0, 2445, 5655, 300);
    s1->setPanelText(1, QStringLiteral("Status"));
    s1->setPanelText(2, awaitingUserCommands);

    xp1 = new QProgressBar(client);
    xp1->setObjectName(QStringLiteral("xp1"));
    xp1->setAccessibleName(QStringLiteral("Scan progress"));
    xp1->setRange(0, 100);
    xp1->setValue(0);
    xp1->setTextVisible(false);
    place(xp1, 2955, 2490, 2700, 255);
    xp1->raise();  // in front of the status bar's third panel

    tmrScan = new QTimer(this);
    tmrScan->setObjectName(QStringLiteral("tmrScan"));
    tmrScan->setInterval(1);
    tmrScan->setTimerType(Qt::PreciseTimer);

    buildMenus();

    setTabOrder(cmdScan, cmdRemove);
    setTabOrder(cmdRemove, lstFonts);
    cmdScan->setFocus();
}

void KestrixWindowDesign::buildMenus() {
    auto* bar = new QMenuBar(this);
    setMenuBar(bar);

    mnuFile = menu(bar, QStringLiteral("mnuFile"), QStringLiteral("File"));
    mnuExit = menuItem(mnuFile->menu(), QStringLiteral("mnuExit"), QStringLiteral("Exit"));

    mnuOptions = menu(bar, QStringLiteral("mnuOptions"), QStringLiteral("Options"));
    QMenu* options = mnuOptions->menu();
    cmdSelectAll = menuItem(options, QStringLiteral("cmdSelectAll"), QStringLiteral("Select All"));
    cmdUnselectAll =
        menuItem(options, QStringLiteral("cmdUnselectAll"), QStringLiteral("Unselect All"));
    sep1 = menuItem(options, QStringLiteral("sep1"), QStringLiteral("-"));
    mnuReset = menuItem(options, QStringLiteral("mnuReset"), QStringLiteral("Reset Statistics"));
    cmdLiveUpdate =
        menuItem(options, QStringLiteral("cmdLiveUpdate"), QStringLiteral("Check for Updates"));
    mnuNotUsed = menuItem(options, QStringLiteral("mnuNotUsed"), QStringLiteral("-"));
    mnuAbout = menuItem(options, QStringLiteral("mnuAbout"), QStringLiteral("About"));

    mnuDonate = menu(bar, QStringLiteral("mnuDonate"), QStringLiteral("Donate"));
    QMenu* donate = mnuDonate->menu();
    cmdDonate =
        menuItem(donate, QStringLiteral("cmdDonate"), QStringLiteral("e-gold (USD Please)"));
    cmdSeperator1 = menuItem(donate, QStringLiteral("cmdSeperator1"), QStringLiteral("-"));
    cmdGetanAccount = menuItem(donate, QStringLiteral("cmdGetanAccount"),
                               QStringLiteral("Get an e-gold account (Free)"));
}

}  // namespace kestrix::ui
