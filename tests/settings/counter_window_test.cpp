#include "app/kestrix_window.h"
#include "app/program.h"
#include "platform/host_folders.h"
#include "support/files.h"
#include "support/modal_answers.h"
#include "support/program_fixture.h"
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
    EXPECT_EQ(answers.shown().front().text,
              QStringLiteral("Are you sure you would like to reset your statistics?\r\n(") +
                  QDir::toNativeSeparators(drive_.settingsFile()) + u')');
}

// An installed program: its folder cannot be written, not even by root.
class ReadOnlyProgramFolder : public test::ProgramFixture {
protected:
    ReadOnlyProgramFolder() { drive.addFont(QStringLiteral("mine.ttf")); }
    ~ReadOnlyProgramFolder() override { makeProgramFolderWritable(true); }

    void makeProgramFolderWritable(bool writable) const {
        const auto readOnly =
            QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        ASSERT_TRUE(QFile::setPermissions(drive.appPath(),
                                          writable ? readOnly | QFile::WriteOwner : readOnly));
    }

    // Why the folder can be written still, if it can: on Windows its permissions decide, and
    // Wine running as root lets anyone write anywhere.
    [[nodiscard]] std::string stillWritable() const {
        return platform::isWritableFolder(drive.appPath())
                   ? "this system lets the test write into the program's folder whatever it does"
                   : "";
    }

    QString userFile() const {
        return drive.userConfigFolder() + u'/' + platform::ownFolderName() +
               QStringLiteral("/Info.ini");
    }

    void optimizeAll(app::FrmKestrix& w) {
        scan(w);
        answers.answer(QMessageBox::Yes);
        w.cmdRemove->click();
        ASSERT_EQ(w.lstFonts->rowCount(), 0);
    }
};

TEST_F(ReadOnlyProgramFolder, KeepsTheCountInTheUsersOwnInfoIni) {
    const QByteArray beside = "[Kestrix Settings]\nTOTAL=5\n";
    test::writeFile(drive.settingsFile(), beside);
    makeProgramFolderWritable(false);
    if (const std::string writable = stillWritable(); !writable.empty()) {
        GTEST_SKIP() << writable;
    }

    app::FrmKestrix& w = start();
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("5"));
    EXPECT_EQ(test::contentOf(userFile()), beside);
    optimizeAll(w);
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("6"));
    stop();

    app::FrmKestrix& again = start();
    EXPECT_EQ(again.lblttl->text(), QStringLiteral("6"));
    EXPECT_EQ(test::contentOf(userFile()), QByteArray("[Kestrix Settings]\nTOTAL=6\n"));
    EXPECT_EQ(test::contentOf(drive.settingsFile()), beside);
    EXPECT_EQ(
        QDir(drive.appPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList(QStringLiteral("Info.ini")));

    answers.answer(QMessageBox::No);
    again.mnuReset->trigger();
    ASSERT_EQ(answers.shown().size(), 2U);
    EXPECT_EQ(answers.shown().back().text,
              QStringLiteral("Are you sure you would like to reset your statistics?\r\n(") +
                  QDir::toNativeSeparators(userFile()) + u')');
}

TEST_F(ReadOnlyProgramFolder, CountsOnAndSaysSoOnceWhenTheCountCannotBeKeptAnywhere) {
    makeProgramFolderWritable(false);
    if (const std::string writable = stillWritable(); !writable.empty()) {
        GTEST_SKIP() << writable;
    }
    test::writeFile(drive.userConfigFolder(), "a file where the folder should be");

    answers.answer(QMessageBox::Ok);
    app::FrmKestrix& w = start();
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    optimizeAll(w);
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("1"));
    ASSERT_EQ(answers.shown().size(), 2U) << "one message about the count, one question";
    const QString message = answers.shown().front().text;
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(userFile()) + u'\n'))
        << message.toStdString();
    EXPECT_EQ(test::contentOf(drive.settingsFile()), QByteArray("<missing>"));
}

}  // namespace
}  // namespace kestrix::settings
