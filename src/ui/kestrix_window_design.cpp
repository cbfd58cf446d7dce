#include "ui/kestrix_window_design.h"

#include "ui/controls.h"
#include "ui/lazy_icon.h"
#include "ui/program_icon.h"
#include "ui/twips.h"

#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <algorithm>

namespace kestrix::ui {

namespace {

CaptionLabel* label(QWidget* parent, const char* name, const char* caption) {
    auto* control = new CaptionLabel(parent, QString::fromLatin1(caption), Qt::AlignLeft);
    control->setObjectName(QString::fromLatin1(name));
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
    : Form(QStringLiteral("Kestrix - Main"), QSize(5655, 2745), programIcon()),
      lstDatabase(referenceEntries),
      fileFonts(std::move(drives), QStringLiteral("*.fon;*.ttf")),
      i1(drawnIcon({{16, QStringLiteral(":/icons/font.xpm")}})) {
    QWidget* client = clientArea();

    frmFound = frame(client, QStringLiteral("frmFound"), QString());
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

    frmStatistics =
        frame(client, QStringLiteral("frmStatistics"), QStringLiteral("Font Statistics:"));
    place(frmStatistics, 3840, 1080, 1695, 1270);
    // Each figure stands right-aligned beside its caption, one row of the frame each.
    struct FigureRow {
        CaptionLabel* KestrixWindowDesign::*caption;
        const char* captionName;
        const char* captionText;
        int captionWidth;
        FigureLabel* KestrixWindowDesign::*figure;
        const char* figureName;
        const char* figureText;
        int figureLeft;
        int figureWidth;
        int top;
    };
    static constexpr FigureRow figures[] = {
        {&KestrixWindowDesign::lbltxtScanned, "lbltxtScanned", "Scanned:", 675,
         &KestrixWindowDesign::lblObjects, "lblObjects", "0", 1440, 90, 240},
        {&KestrixWindowDesign::lbltxtExcessive, "lbltxtExcessive", "Excessive:", 765,
         &KestrixWindowDesign::lblFound, "lblFound", "0", 1440, 90, 480},
        {&KestrixWindowDesign::lbltxtPercentage, "lbltxtPercentage", "Percentage:", 885,
         &KestrixWindowDesign::lblPercent, "lblPercent", "0%", 1320, 255, 720},
        {&KestrixWindowDesign::lbltxtRemoved, "lbltxtRemoved", "Total Deleted:", 1020,
         &KestrixWindowDesign::lblttl, "lblttl", "0", 1440, 90, 960},
    };
    const int frameWidth = frmStatistics->width();
    for (const FigureRow& row : figures) {
        CaptionLabel* caption = this->*row.caption =
                                    label(frmStatistics, row.captionName, row.captionText);
        caption->placeAt(120, row.top, row.captionWidth, 195, 0, frameWidth);
        auto* figure = this->*row.figure = new FigureLabel(
                           frmStatistics, QString::fromLatin1(row.figureText), caption);
        figure->setObjectName(QString::fromLatin1(row.figureName));
        figure->placeAt(row.figureLeft, row.top, row.figureWidth, 195,
                        caption->geometry().right() + 3, frameWidth - 3);
    }

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

    // Each caption marks its access key with "&"; the mark is drawn only while it is wanted.
    mnuFile = menu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuExit = menuItem(mnuFile->menu(), QStringLiteral("mnuExit"), QStringLiteral("E&xit"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuOptions = menu(bar, QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    QMenu* options = mnuOptions->menu();
    cmdSelectAll = menuItem(options, QStringLiteral("cmdSelectAll"), QStringLiteral("&Select All"));
    cmdUnselectAll =
        menuItem(options, QStringLiteral("cmdUnselectAll"), QStringLiteral("&Unselect All"));
    sep1 = menuItem(options, QStringLiteral("sep1"), QStringLiteral("-"));
    mnuReset = menuItem(options, QStringLiteral("mnuReset"), QStringLiteral("&Reset Statistics"));
    cmdLiveUpdate =
        menuItem(options, QStringLiteral("cmdLiveUpdate"), QStringLiteral("&Check for Updates"));
    mnuNotUsed = menuItem(options, QStringLiteral("mnuNotUsed"), QStringLiteral("-"));
    mnuAbout = menuItem(options, QStringLiteral("mnuAbout"), QStringLiteral("&About"));

    mnuDonate = menu(bar, QStringLiteral("mnuDonate"), QStringLiteral("&Donate"));
    QMenu* donate = mnuDonate->menu();
    cmdDonate =
        menuItem(donate, QStringLiteral("cmdDonate"), QStringLiteral("&e-gold (USD Please)"));
    cmdSeperator1 = menuItem(donate, QStringLiteral("cmdSeperator1"), QStringLiteral("-"));
    cmdGetanAccount = menuItem(donate, QStringLiteral("cmdGetanAccount"),
                               QStringLiteral("&Get an e-gold account (Free)"));

    // F10 opens the first menu that can be opened, as on the other desktops.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, bar, [bar] {
        const QList<QAction*> menus = bar->actions();
        const auto open = std::find_if(menus.begin(), menus.end(),
                                       [](const QAction* menu) { return menu->isEnabled(); });
        if (open != menus.end()) {
            bar->setActiveAction(*open);
        }
    });
}

}  // namespace kestrix::ui
