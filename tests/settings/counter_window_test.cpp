#include "app/kestrix_window.h"
#include "app/program.h"
#include "support/files.h"
#include "support/modal_answers.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace kestrix::settings {
namespace {

class CounterWindowTest : public testing::Test {
protected:
    QByteArray stored() const { return test::contentOf(drive_.settingsFile()); }

    test::TempDrive drive_;
    app::Program program_{{drive_.drives(), drive_.appPath()}};
};

TEST_F(CounterWindowTest, StartUpLoadsTheCounterAfterTheScanFigures) {
    program_.start();
    app::FrmKestrix& w = *program_.frmKestrix;
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    EXPECT_EQ(w.TotalDeleted, ui::LooseValue::text(QStringLiteral("0")));
    EXPECT_EQ(w.ScanPercent, ui::LooseValue::integer(0));
    EXPECT_EQ(w.ScannedCount, ui::LooseValue::integer(0));
    EXPECT_TRUE(w.FoundCount.isEmpty());
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=0\r\n"));
}

TEST_F(CounterWindowTest, ResetStatisticsFromTheMenu) {
    test::writeFile(drive_.settingsFile(), "[Kestrix Settings]\nTOTAL=007\n");
    program_.start();
    app::FrmKestrix& w = *program_.frmKestrix;
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("007"));

    test::ModalAnswers answers;
    answers.answer(QMessageBox::No);
    answers.answer(QMessageBox::Yes);
    w.mnuReset->trigger();
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("007"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\nTOTAL=007\n"));
    w.mnuReset->trigger();
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\nTOTAL=0\n"));
    ASSERT_EQ(answers.shown().size(), 2U);
    EXPECT_TRUE(answers.shown().front().text.endsWith(
        u'(' + QDir::toNativeSeparators(drive_.settingsFile()) + u')'));
}

}  // namespace
}  // namespace kestrix::settings
