#include "app/kestrix_window.h"
#include "app/program.h"

#include "about/donate_menu.h"
#include "support/program_state.h"
#include "support/start_recorder.h"
#include "support/temp_drive.h"
#include "support/version_server.h"
#include "ui/events.h"

#include <gtest/gtest.h>
#include <QTest>

namespace kestrix::app {
namespace {

class Handover : public testing::Test {
protected:
    Handover() {
        program.start();
        main().lstFonts->addFirst(QStringLiteral("C:\\WINDOWS\\Fonts\\odd.ttf"));
        main().lstFonts->setChecked(1, true);
        main().lstFonts->addFirst(QStringLiteral("C:\\WINDOWS\\Fonts\\other.ttf"));
        main().s1->setPanelText(2, QStringLiteral("Found 2 excessive fonts."));
        main().lblFound->setText(QStringLiteral("2"));
        main().cmdRemove->setEnabled(true);
        main().move(main().pos() + QPoint(7, 5));
        placeBefore = main().pos();
    }

    FrmKestrix& main() { return *program.frmKestrix; }

    // The main window is back, showing what it showed before the hand-over.
    void expectMainWindowBackUnchanged() {
        EXPECT_TRUE(main().isVisible());
        EXPECT_EQ(main().pos(), placeBefore);
        ASSERT_EQ(main().lstFonts->rowCount(), 2);
        EXPECT_EQ(main().lstFonts->rowText(1), QStringLiteral("C:\\WINDOWS\\Fonts\\other.ttf"));
        EXPECT_FALSE(main().lstFonts->isChecked(1));
        EXPECT_TRUE(main().lstFonts->isChecked(2));
        EXPECT_EQ(main().s1->panelText(2), QStringLiteral("Found 2 excessive fonts."));
        EXPECT_EQ(main().lblFound->text(), QStringLiteral("2"));
        EXPECT_TRUE(main().cmdRemove->isEnabled());
        EXPECT_EQ(main().ScanPercent, ui::LooseValue::integer(0));
    }

    // Runs a check in the update window against the local server and waits for its verdict.
    void checkForUpdates() {
        main().cmdLiveUpdate->trigger();
        QTest::mouseClick(program.frmCheckUpdates->cmdCheck, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return program.frmCheckUpdates->lblStatus->text().startsWith(u"Please"); },
            5000));
    }

    test::ProgramState state;
    test::TempDrive drive;
    test::VersionServer server;
    test::StartRecorder browser;
    Program program{{drive.drives(), drive.appPath(), browser.starter(),
                     update::Endpoint{QStringLiteral("127.0.0.1"), server.port()}}};
    QPoint placeBefore;
};

TEST_F(Handover, AboutHidesTheMainWindowAndClosingItBringsItBack) {
    EXPECT_FALSE(program.frmAbout.isLoaded());
    main().mnuAbout->trigger();
    EXPECT_FALSE(main().isVisible());
    ASSERT_TRUE(program.frmAbout.isLoaded());
    EXPECT_TRUE(program.frmAbout->isVisible());

    program.frmAbout->close();
    EXPECT_FALSE(program.frmAbout.isLoaded());
    expectMainWindowBackUnchanged();
}

TEST_F(Handover, CheckForUpdatesHandsOverAndBackAndLeavesAboutLoadedHidden) {
    server.answerWith(test::versionPage("Latest Version: 1.2.0"));
    main().cmdLiveUpdate->trigger();
    EXPECT_FALSE(main().isVisible());
    ASSERT_TRUE(program.frmCheckUpdates.isLoaded());
    EXPECT_TRUE(program.frmCheckUpdates->isVisible());
    program.frmCheckUpdates->close();
    expectMainWindowBackUnchanged();
    ASSERT_FALSE(program.frmAbout.isLoaded());
    ASSERT_NO_FATAL_FAILURE(checkForUpdates());

    ASSERT_TRUE(program.frmAbout.isLoaded()) << "the version was read from the About window";
    EXPECT_FALSE(program.frmAbout->isVisible());
    program.frmCheckUpdates->close();
    EXPECT_FALSE(program.frmCheckUpdates.isLoaded());
    expectMainWindowBackUnchanged();

    main().mnuAbout->trigger();
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(program.frmAbout->isVisible());
    EXPECT_EQ(program.frmAbout->lbltxtVersion->text(), QStringLiteral("Version: 1.1.8"));
    program.frmAbout->close();
    expectMainWindowBackUnchanged();
}

TEST_F(Handover, ReopenedUpdateWindowStartsFromItsDesignValues) {
    server.answerWith(test::versionPage("Latest Version: 1.2.0"));
    ASSERT_NO_FATAL_FAILURE(checkForUpdates());
    ASSERT_TRUE(program.frmCheckUpdates->lblDownload->isVisible());
    program.frmCheckUpdates->close();
    QTest::qWait(0);

    main().cmdLiveUpdate->trigger();
    EXPECT_EQ(program.frmCheckUpdates->lblStatus->text(),
              QStringLiteral("Awaiting user commands..."));
    EXPECT_TRUE(program.frmCheckUpdates->cmdCheck->isEnabled());
    EXPECT_FALSE(program.frmCheckUpdates->lblDownload->isVisible());
}

TEST_F(Handover, ExitUnloadsTheHiddenAboutWindowAndTheUpdateWindowThenEnds) {
    server.answerWith(test::versionPage("Latest Version: 1.2.0"));
    ASSERT_NO_FATAL_FAILURE(checkForUpdates());
    program.frmCheckUpdates->close();
    ASSERT_TRUE(program.frmAbout.isLoaded());
    main().cmdLiveUpdate->trigger();
    QTest::mouseClick(program.frmCheckUpdates->cmdCheck, Qt::LeftButton);
    ASSERT_TRUE(server.waitForRequest());

    main().mnuExit->trigger();
    EXPECT_FALSE(program.frmAbout.isLoaded());
    EXPECT_FALSE(program.frmCheckUpdates.isLoaded());
    EXPECT_TRUE(ui::programEnding());
    EXPECT_TRUE(server.waitForClientClose()) << "the update window closed its connection";
}

TEST_F(Handover, ExitWithoutSecondaryWindowsCreatesNone) {
    main().mnuExit->trigger();
    EXPECT_TRUE(ui::programEnding());
    EXPECT_FALSE(program.frmAbout.isLoaded());
    EXPECT_FALSE(program.frmCheckUpdates.isLoaded());
}

TEST_F(Handover, DonateItemsStartTheBrowserOnTheirPages) {
    main().cmdDonate->trigger();
    main().cmdGetanAccount->trigger();
    ASSERT_EQ(browser.starts.size(), 2u);
    EXPECT_EQ(browser.starts[0], platform::browserCommandLine(about::donatePage));
    EXPECT_EQ(browser.starts[1], platform::browserCommandLine(about::getAnAccountPage));
    EXPECT_TRUE(main().cmdDonate->isEnabled());
    EXPECT_TRUE(main().cmdGetanAccount->isEnabled());
    EXPECT_TRUE(main().isVisible()) << "the Donate items hand nothing over";
}

}  // namespace
}  // namespace kestrix::app
