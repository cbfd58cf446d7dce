#include "platform/host_folders.h"
#include "scan/reference_list.h"
#include "support/program_fixture.h"
#include "ui/events.h"

#include <gtest/gtest.h>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTimer>

namespace kestrix::test {
namespace {

using Scan = ProgramFixture;

QString row(const QString& name) {
    return "C:\\WINDOWS\\Fonts\\" + name;
}

QString userRow(const QString& name) {
    return platform::userFontFolder() + u'\\' + name;
}

QStringList excessiveNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Extra%1.ttf").arg(i, 3, 10, QChar(u'0'));
    }
    return names;
}

void expectIdle(const app::FrmKestrix& w) {
    EXPECT_FALSE(w.tmrScan->isActive());
    EXPECT_TRUE(w.cmdScan->isEnabled());
    EXPECT_TRUE(w.mnuFile->isEnabled());
    EXPECT_TRUE(w.mnuOptions->isEnabled());
}

TEST_F(Scan, OfASingleExcessiveFileEndsInTheFirstTick) {
    // The one font is the user's own: the font folder holds none.
    drive.addUserFont("Mine.ttf");
    app::FrmKestrix& w = start();
    scan(w);

    expectIdle(w);
    EXPECT_EQ(rows(w), QStringList({userRow("Mine.ttf")}));
    EXPECT_TRUE(w.lstFonts->isChecked(1));
    EXPECT_EQ(w.lblObjects->text(), "1/1");
    EXPECT_EQ(w.lblFound->text(), "1");
    EXPECT_EQ(w.lblPercent->text(), "100%");
    EXPECT_EQ(w.xp1->value(), 0);
    EXPECT_EQ(w.xp1->maximum(), 1);
    EXPECT_TRUE(w.cmdRemove->isEnabled());
    EXPECT_EQ(w.s1->panelText(2), "Found 1 excessive fonts.");
    EXPECT_EQ(w.ScanPercent, ui::LooseValue::text("100"));
    EXPECT_EQ(w.ScannedCount.toInteger(), 1);
    EXPECT_EQ(w.FoundCount.toInteger(), 1);
}

TEST_F(Scan, OfOnlyReferenceFontsFindsNothing) {
    QStringList names;
    const QStringList entries = scan::referenceList();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        // Every entry, in the letter cases a font folder may hold it.
        const QString base = entries[i].left(entries[i].indexOf(u'.'));
        names << (i % 3 == 0   ? base.toLower() + ".ttf"
                  : i % 3 == 1 ? base.toUpper() + ".TTF"
                               : base + ".fon");
    }
    drive.addFonts(names);
    app::FrmKestrix& w = start();
    scan(w);

    expectIdle(w);
    EXPECT_EQ(w.lstFonts->rowCount(), 0);
    EXPECT_EQ(w.lblFound->text(), "0");
    EXPECT_EQ(w.lblPercent->text(), "0%");
    EXPECT_EQ(w.lblObjects->text(), "106/106");
    EXPECT_EQ(w.s1->panelText(2), "Found 0 excessive fonts.");
    EXPECT_FALSE(w.cmdRemove->isEnabled());
    EXPECT_EQ(w.xp1->value(), 104);
    EXPECT_EQ(w.xp1->maximum(), 106);
}

TEST_F(Scan, ListsExcessiveFilesOfBothFoldersNewestFirstAndChecked) {
    // Names that differ in more than letter case, so that Windows keeps them apart too; Windows'
    // own fonts are standard, and so are they in the user's own folder.
    drive.addFonts({"arial.ttf", "Zeta.ttf", "PaPyRuS.ttf", "alpha.fon", "PAPYRUS.fon",
                    ".hidden.ttf", "notes.txt", "noext", "segoeui.ttf", "SegUIVar.ttf",
                    "vgasys.fon", "cvgasys.fon", "segoeui2.ttf"});
    drive.addUserFont("SEGOEUI.TTF");
    drive.addUserFont("Mine.ttf");
    app::FrmKestrix& w = start();
    scan(w);

    // Sorted font folder: alpha.fon arial.ttf cvgasys.fon PAPYRUS.fon PaPyRuS.ttf segoeui.ttf
    // segoeui2.ttf SegUIVar.ttf vgasys.fon Zeta.ttf; then the user's: Mine.ttf SEGOEUI.TTF
    EXPECT_EQ(rows(w), QStringList({userRow("Mine.ttf"), row("Zeta.ttf"), row("segoeui2.ttf"),
                                    row("PaPyRuS.ttf"), row("alpha.fon")}));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(w.lstFonts->isChecked(i)) << i;
    }
    EXPECT_EQ(w.lblObjects->text(), "12/12");
    EXPECT_EQ(w.lblFound->text(), "5");
    EXPECT_EQ(w.lblPercent->text(), "41%");
    EXPECT_EQ(w.xp1->value(), 10) << "T - 2 of T";
    EXPECT_EQ(w.xp1->maximum(), 12);
    EXPECT_EQ(w.s1->panelText(2), "Found 5 excessive fonts.");
}

TEST_F(Scan, AsksWhoOwnsOnlyTheFilesThatMatchNoName) {
    drive.addFonts({"arial.ttf", "segoeui.ttf", "OemFont.ttf", "Mine.ttf"});
    QStringList asked;
    app::Environment environment{drive.drives(), drive.appPath()};
    environment.fileOwner = [&](const QString& hostPath) {
        asked << QFileInfo(hostPath).fileName();
        return hostPath.endsWith("/OemFont.ttf") ? platform::FileOwner::Windows
                                                 : platform::FileOwner::Someone;
    };
    app::FrmKestrix& w = start(std::move(environment));
    scan(w);

    EXPECT_EQ(asked, QStringList({"Mine.ttf", "OemFont.ttf"}));
    EXPECT_EQ(rows(w), QStringList({row("Mine.ttf")}));
    EXPECT_EQ(w.lblObjects->text(), "4/4");
    EXPECT_EQ(w.lblPercent->text(), "25%");
}

TEST_F(Scan, ShowsTheWholeNumberPercentage) {
    QStringList names = excessiveNames(29);
    const QStringList entries = scan::referenceList();
    for (int i = 0; i < 71; ++i) {
        names << entries[i];
    }
    drive.addFonts(names);
    app::FrmKestrix& w = start();
    scan(w);
    EXPECT_EQ(w.lblPercent->text(), "29%");
    EXPECT_EQ(w.lblFound->text(), "29");
    EXPECT_EQ(w.lblObjects->text(), "100/100");
}

TEST_F(Scan, FollowsTheUsersLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    drive.addFonts({"ARIAL.TTF", "mine.ttf", "TIMES.TTF"});
    app::FrmKestrix& w = start();
    scan(w);
    EXPECT_EQ(w.lblPercent->text(), "33%");
}

TEST_F(Scan, LocksTheCommandsWhileItRuns) {
    drive.addFonts(excessiveNames(3));
    app::FrmKestrix& w = start();
    scan(w);
    ASSERT_EQ(w.lblObjects->text(), "3/3");
    drive.addFonts(excessiveNames(6));

    answers.answer(QMessageBox::Yes);
    w.cmdScan->click();
    EXPECT_TRUE(w.tmrScan->isActive());
    EXPECT_FALSE(w.cmdScan->isEnabled());
    EXPECT_FALSE(w.cmdRemove->isEnabled());
    EXPECT_FALSE(w.mnuFile->isEnabled());
    EXPECT_FALSE(w.mnuOptions->isEnabled());
    EXPECT_TRUE(w.mnuDonate->isEnabled());
    EXPECT_TRUE(w.cmdDonate->isEnabled());
    EXPECT_EQ(w.s1->panelText(2), "Building and scanning index.");
    EXPECT_EQ(w.lstFonts->rowCount(), 0);
    EXPECT_EQ(w.lblFound->text(), "0");
    EXPECT_EQ(w.lblPercent->text(), "0%");
    EXPECT_EQ(w.lblObjects->text(), "3/3") << "until the first tick ends";
    EXPECT_EQ(w.xp1->maximum(), 6);

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.lblObjects->text() == "1/6"; }, 10'000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.tmrScan->isActive(); }, 60'000));
    expectIdle(w);
    EXPECT_EQ(w.lstFonts->rowCount(), 6);
    EXPECT_TRUE(w.cmdRemove->isEnabled());
}

TEST_F(Scan, AsksBeforeDroppingListedFonts) {
    drive.addFonts({"one.ttf", "two.ttf"});
    app::FrmKestrix& w = start();
    scan(w);
    w.lstFonts->setChecked(2, false);
    const QStringList before = rows(w);

    answers.answer(QMessageBox::No);
    w.cmdScan->click();
    ASSERT_EQ(answers.shown().size(), 1U);
    const auto& question = answers.shown().front();
    EXPECT_EQ(question.text,
              "Are you sure you would like to start a new scan? You already have fonts ready to "
              "delete.");
    EXPECT_EQ(question.title, "");
    EXPECT_EQ(question.icon, QMessageBox::NoIcon);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.format, Qt::PlainText);
    expectIdle(w);
    EXPECT_EQ(rows(w), before);
    EXPECT_FALSE(w.lstFonts->isChecked(2));
    EXPECT_TRUE(w.cmdRemove->isEnabled());
    EXPECT_EQ(w.s1->panelText(2), "Found 2 excessive fonts.");

    answers.answer(QMessageBox::Yes);
    scan(w);
    EXPECT_EQ(answers.shown().size(), 2U);
    EXPECT_EQ(rows(w), before);
    EXPECT_TRUE(w.lstFonts->isChecked(2)) << "the new scan lists every row checked again";
}

TEST_F(Scan, ReportsAFolderItCannotScanAndStaysIdle) {
    drive.addFont("readme.txt");
    app::FrmKestrix& w = start();

    answers.answer(QMessageBox::Ok);
    w.cmdScan->click();
    ASSERT_EQ(answers.shown().size(), 1U);
    EXPECT_EQ(answers.shown()[0].text,
              "The font folder C:\\WINDOWS\\Fonts cannot be scanned: it holds no font file "
              "(*.fon, *.ttf).");
    EXPECT_EQ(answers.shown()[0].icon, QMessageBox::Warning);
    expectIdle(w);
    EXPECT_FALSE(w.cmdRemove->isEnabled());
    EXPECT_EQ(w.s1->panelText(2), "Awaiting user commands.");

    // With fonts listed from an earlier scan, Optimize stays as it was.
    drive.addFont("mine.ttf");
    scan(w);
    ASSERT_TRUE(w.cmdRemove->isEnabled());
    ASSERT_TRUE(QDir(drive.fontsFolder()).removeRecursively());
    answers.answer(QMessageBox::Yes);
    answers.answer(QMessageBox::Ok);
    w.cmdScan->click();
    ASSERT_EQ(answers.shown().size(), 3U);
    // Windows finds "WINDOWS" as it is written, whatever the folder's own letter case.
    const QString notFound = "The font folder C:\\WINDOWS\\Fonts cannot be scanned: not found (" +
                             QDir::toNativeSeparators(drive.fontsFolder()) + ").";
    EXPECT_EQ(answers.shown()[2].text.compare(notFound, Qt::CaseInsensitive), 0)
        << answers.shown()[2].text.toStdString();
    expectIdle(w);
    EXPECT_TRUE(w.cmdRemove->isEnabled());
    EXPECT_EQ(rows(w), QStringList({row("mine.ttf")}));
    EXPECT_EQ(w.s1->panelText(2), "Found 1 excessive fonts.");

    // No drive C: at all: the message names where it was looked for and how to choose another.
    ASSERT_TRUE(QDir(drive.driveC()).removeRecursively());
    answers.answer(QMessageBox::Yes);
    answers.answer(QMessageBox::Ok);
    w.cmdScan->click();
    ASSERT_EQ(answers.shown().size(), 5U);
    EXPECT_EQ(answers.shown()[4].text,
              "The font folder C:\\WINDOWS\\Fonts cannot be scanned: there is no drive C: here. "
              "Kestrix looked for it in\n" +
                  drive.driveC() +
                  "\nIt works on the C: drive of a Wine prefix: ~/.wine, or the one named by the "
                  "WINEPREFIX environment variable, or the one given with\nkestrix --prefix "
                  "PATH.");
    expectIdle(w);
    EXPECT_EQ(answers.unexpected(), 0);
}

// Plays a click on the close box that arrives while a tick is running: the close is posted when
// the timer event of the given tick reaches tmrScan, so one of that tick's yields delivers it.
class CloseDuringTick : public QObject {
public:
    CloseDuringTick(app::FrmKestrix& window, int tick) : window_(window), tick_(tick) {
        window.tmrScan->installEventFilter(this);
        window.installEventFilter(this);
    }
    bool closed = false;
    int rowsAtClose = -1;
    QString scannedAtClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_.tmrScan && event->type() == QEvent::Timer && --tick_ == 0) {
            QCoreApplication::postEvent(&window_, new QCloseEvent);
        } else if (watched == &window_ && event->type() == QEvent::Close) {
            closed = true;
            rowsAtClose = window_.lstFonts->rowCount();
            scannedAtClose = window_.lblObjects->text();
        }
        return false;
    }

private:
    app::FrmKestrix& window_;
    int tick_;
};

TEST_F(Scan, EndsAtOnceWhenTheWindowClosesMidScan) {
    drive.addFonts(excessiveNames(40));
    app::FrmKestrix& w = start();
    CloseDuringTick closeBox(w, 5);
    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closeBox.closed; }, 10'000));
    if (w.tmrScan->isActive()) {
        QSignalSpy ticks(w.tmrScan, &QTimer::timeout);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }, 5000));
    }

    EXPECT_TRUE(ui::programEnding());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(closeBox.rowsAtClose, 4) << "the fifth tick was running";
    EXPECT_EQ(w.lstFonts->rowCount(), 4) << "no later step of the tick ran";
    EXPECT_EQ(w.lblObjects->text(), "4/40");
    EXPECT_EQ(closeBox.scannedAtClose, "4/40");
}

}  // namespace
}  // namespace kestrix::test
