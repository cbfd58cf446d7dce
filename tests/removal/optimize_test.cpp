#include "platform/host_folders.h"
#include "removal/optimize_fixture.h"
#include "support/files.h"
#include "support/modal_answers.h"
#include "support/program_state.h"
#include "support/temp_drive.h"
#include "ui/events.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kestrix::removal {
namespace {

using test::contentOf;

// Runs `action` once, at the first yield of the program at which `ready` holds.
class AtYield {
public:
    AtYield(std::function<bool()> ready, std::function<void()> action) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, ready, action] {
            if (ready()) {
                timer_.stop();
                action();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

TEST_F(OptimizeTest, AnswerNoChangesNothing) {
    storeSettings("[Kestrix Settings]\r\nTOTAL=4\r\n");
    app::FrmKestrix& w = startAndScan();
    setChecked(w, QStringLiteral("Bravo.ttf"), false);
    const QString status = w.s1->panelText(2);
    answers_.answer(QMessageBox::No);
    w.cmdRemove->click();

    ASSERT_EQ(answers_.shown().size(), 1U);
    const auto& box = answers_.shown().front();
    EXPECT_EQ(box.text, question);
    EXPECT_EQ(box.title, QString());
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(w.lstFonts->rowCount(), excessive.size());
    for (const auto& name : excessive) {
        EXPECT_TRUE(hasOriginal(name)) << name.toStdString();
        EXPECT_EQ(w.lstFonts->isChecked(rowOf(w, name)), name != QStringLiteral("Bravo.ttf"));
    }
    EXPECT_TRUE(w.cmdRemove->isEnabled());
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("4"));
    EXPECT_EQ(contentOf(settingsFile()), QByteArray("[Kestrix Settings]\r\nTOTAL=4\r\n"));
    EXPECT_EQ(w.s1->panelText(2), status);
}

TEST_F(OptimizeTest, SelectionCommandsCheckAndUncheckEveryRow) {
    app::FrmKestrix& w = start();
    w.cmdSelectAll->trigger();  // an empty list: nothing happens
    w.cmdUnselectAll->trigger();
    EXPECT_EQ(w.lstFonts->rowCount(), 0);

    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
    w.cmdUnselectAll->trigger();
    for (int i = 1; i <= w.lstFonts->rowCount(); ++i) {
        EXPECT_FALSE(w.lstFonts->isChecked(i)) << i;
    }
    setChecked(w, QStringLiteral("Charlie.ttf"), true);
    w.cmdSelectAll->trigger();
    for (int i = 1; i <= w.lstFonts->rowCount(); ++i) {
        EXPECT_TRUE(w.lstFonts->isChecked(i)) << i;
    }
    EXPECT_EQ(answers_.shown().size(), 0U);
}

TEST_F(OptimizeTest, YesWithNothingCheckedOnlyEmptiesTheList) {
    app::FrmKestrix& w = startAndScan();
    w.cmdUnselectAll->trigger();
    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();

    for (const auto& name : excessive) {
        EXPECT_TRUE(hasOriginal(name)) << name.toStdString();
    }
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    EXPECT_EQ(contentOf(settingsFile()), QByteArray("[Kestrix Settings]\r\nTOTAL=0\r\n"));
    expectRunEnded(w);
    EXPECT_EQ(answers_.shown().size(), 1U);
    EXPECT_EQ(answers_.unexpected(), 0);
}

TEST_F(OptimizeTest, RemovesTheCheckedFilesOfBothFoldersAndCountsEachOne) {
    storeSettings("; kept\r\n[KESTRIX SETTINGS]\r\ntotal=12\r\n");
    drive_.addUserFont(QStringLiteral("Mine.ttf"));
    app::FrmKestrix& w = start();
    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
    ASSERT_EQ(w.lstFonts->rowText(1), platform::userFontFolder() + QStringLiteral("\\Mine.ttf"));
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("12"));
    const QString scanned = w.lblObjects->text();
    const QString found = w.lblFound->text();
    const QString percent = w.lblPercent->text();
    setChecked(w, QStringLiteral("Bravo.ttf"), false);
    setChecked(w, QStringLiteral("Echo.ttf"), false);
    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();

    for (const auto& name : {"Alpha.ttf", "Charlie.ttf", "Delta.ttf"}) {
        EXPECT_FALSE(drive_.hasFont(QString::fromLatin1(name))) << name;
    }
    EXPECT_FALSE(drive_.hasUserFont(QStringLiteral("Mine.ttf")));
    EXPECT_TRUE(hasOriginal(QStringLiteral("Bravo.ttf")));
    EXPECT_TRUE(hasOriginal(QStringLiteral("Echo.ttf")));
    EXPECT_EQ(contentOf(drive_.fontsFolder() + QStringLiteral("/ARIAL.TTF")), "standard");
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("16"));
    EXPECT_EQ(w.TotalDeleted, ui::LooseValue::integer(16));
    EXPECT_EQ(contentOf(settingsFile()),
              QByteArray("; kept\r\n[KESTRIX SETTINGS]\r\ntotal=16\r\n"));
    expectRunEnded(w);
    EXPECT_EQ(w.lblObjects->text(), scanned);
    EXPECT_EQ(w.lblFound->text(), found);
    EXPECT_EQ(w.lblPercent->text(), percent);
    EXPECT_EQ(answers_.unexpected(), 0);
}

TEST_F(OptimizeTest, FailingRowsAreSkippedUntouchedAndNamedOnceAtTheEnd) {
    app::FrmKestrix& w = startAndScan();
    const QString locked = drive_.fontsFolder() + QStringLiteral("/Bravo.ttf");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::remove(drive_.fontsFolder() + QStringLiteral("/Delta.ttf")));
    windowsOwned_ << QStringLiteral("Charlie.ttf");  // since the scan
    answers_.answer(QMessageBox::Yes);
    answers_.answer(QMessageBox::Ok);
    w.cmdRemove->click();

    for (const auto& name : {"Alpha.ttf", "Echo.ttf"}) {
        EXPECT_FALSE(drive_.hasFont(QString::fromLatin1(name))) << name;
    }
    EXPECT_TRUE(hasOriginal(QStringLiteral("Bravo.ttf")));
    EXPECT_TRUE(hasOriginal(QStringLiteral("Charlie.ttf")));
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Delta.ttf")));
    // Only the fonts that went were unloaded; the system kept the others all along.
    EXPECT_EQ(unloaded_, QStringList({"Echo.ttf", "Echo.ttf", "Alpha.ttf", "Alpha.ttf"}));
    EXPECT_EQ(loaded_, QStringList());
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("2"));
    EXPECT_EQ(contentOf(settingsFile()), QByteArray("[Kestrix Settings]\r\nTOTAL=2\r\n"));
    ASSERT_EQ(answers_.shown().size(), 2U);
    const auto& report = answers_.shown().back();
    EXPECT_EQ(report.format, Qt::PlainText);
    // Rows are taken newest first: Delta before Bravo.
    EXPECT_EQ(report.text, QStringLiteral("These fonts were not removed:\n\n") + row("Delta.ttf") +
                               QStringLiteral(": file not found\n") + row("Charlie.ttf") +
                               QStringLiteral(": part of Windows\n") + row("Bravo.ttf") +
                               QStringLiteral(": read-only"));
    EXPECT_EQ(answers_.unexpected(), 0);
    expectRunEnded(w);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(OptimizeTest, UnselectAllDuringARunSkipsTheRowsNotReached) {
    app::FrmKestrix& w = startAndScan();
    ASSERT_EQ(w.lstFonts->rowText(1), row("Echo.ttf"));
    bool scanOffered = true;
    bool optimizeOffered = true;
    AtYield unselect([&] { return !drive_.hasFont(QStringLiteral("Echo.ttf")); },
                     [&] {
                         scanOffered = w.cmdScan->isEnabled();
                         optimizeOffered = w.cmdRemove->isEnabled();
                         w.cmdUnselectAll->trigger();
                     });
    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();

    EXPECT_FALSE(scanOffered);
    EXPECT_FALSE(optimizeOffered);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Echo.ttf")));
    for (const auto& name : {"Alpha.ttf", "Bravo.ttf", "Charlie.ttf", "Delta.ttf"}) {
        EXPECT_TRUE(hasOriginal(QString::fromLatin1(name))) << name;
    }
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("1"));
    EXPECT_EQ(contentOf(settingsFile()), QByteArray("[Kestrix Settings]\r\nTOTAL=1\r\n"));
    expectRunEnded(w);
}

TEST_F(OptimizeTest, ExitDuringARunStopsAtOnceWithTheCountStored) {
    app::FrmKestrix& w = startAndScan();
    AtYield exit([&] { return !drive_.hasFont(QStringLiteral("Delta.ttf")); }, [&] { w.close(); });
    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();

    EXPECT_TRUE(ui::programEnding());
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Echo.ttf")));
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Delta.ttf")));
    for (const auto& name : {"Alpha.ttf", "Bravo.ttf", "Charlie.ttf"}) {
        EXPECT_TRUE(hasOriginal(QString::fromLatin1(name))) << name;
    }
    EXPECT_EQ(contentOf(settingsFile()), QByteArray("[Kestrix Settings]\r\nTOTAL=2\r\n"));
    EXPECT_EQ(answers_.shown().size(), 1U);
    EXPECT_EQ(answers_.unexpected(), 0);
}

}  // namespace
}  // namespace kestrix::removal
