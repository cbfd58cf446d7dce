#include "about/about_window.h"
#include "about/browser_launch.h"
#include "about/donate_menu.h"

#include "support/modal_answers.h"
#include "support/start_recorder.h"
#include "ui/events.h"
#include "ui/form_slot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QTest>

namespace kestrix::about {
namespace {

TEST(AboutWindow, ShowsItsFixedTextsAndHandsTheScreenBackWhenClosed) {
    ui::clearProgramEnding();
    int handBacks = 0;
    ui::FormSlot<FrmAbout> frmAbout{
        [&] { return std::make_unique<FrmAbout>([&] { ++handBacks; }); }};
    frmAbout.show();

    EXPECT_EQ(frmAbout->windowTitle(), QStringLiteral("Kestrix - About"));
    EXPECT_EQ(frmAbout->clientArea()->size(), QSize(281, 209));
    EXPECT_FALSE(frmAbout->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frmAbout->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frmAbout->frmProgramInfo->title(), QStringLiteral("Program Information"));
    EXPECT_EQ(frmAbout->lbltxtProgrammedBy->text(),
              QStringLiteral("Programmed by: Kestrix developers"));
    EXPECT_EQ(frmAbout->lbltxtLanguage->text(), QStringLiteral("Language: C++ and Qt 6"));
    EXPECT_EQ(frmAbout->lbltxtCompliledOn->text(),
              QStringLiteral("Compiled on: Sunday, April 30th, 2006"));
    EXPECT_EQ(frmAbout->lbltxtVersion->text(), QStringLiteral("Version: 1.1.8"));
    EXPECT_EQ(frmAbout->frmContact->title(), QStringLiteral("Contact"));
    EXPECT_EQ(frmAbout->lbltxtEmail->text(), QStringLiteral("Email: support@kestrix.org"));
    EXPECT_EQ(frmAbout->Label1->text(),
              QStringLiteral("* Please mention Kestrix in the subject of your email."));
    EXPECT_EQ(frmAbout->Frame1->title(), QString());
    EXPECT_EQ(frmAbout->lblAbout->text(),
              QStringLiteral("Thank you for using Kestrix! I hope you found this tool useful."));
    // The frames are stacked top to bottom and every caption fits inside its frame.
    EXPECT_LT(frmAbout->frmProgramInfo->y(), frmAbout->frmContact->y());
    EXPECT_LT(frmAbout->frmContact->y(), frmAbout->Frame1->y());
    for (QLabel* label : frmAbout->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_LE(label->geometry().right(), label->parentWidget()->width());
        if (!label->wordWrap()) {
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        }
    }

    frmAbout->close();
    EXPECT_EQ(handBacks, 1);
    EXPECT_FALSE(frmAbout.isLoaded());
}

TEST(BrowserLaunch, StartsTheBrowserOnTheAddressAndReportsAFailureNamingIt) {
    test::StartRecorder browser;
    const BrowserLaunch launch(browser.starter());
    const QString address = QStringLiteral("http://example.org/a b?c=<d>");
    EXPECT_TRUE(launch.open(nullptr, address));
    ASSERT_EQ(browser.starts.size(), 1u);
    EXPECT_EQ(browser.starts[0], platform::browserCommandLine(address));
    EXPECT_EQ(browser.starts[0].arguments, QStringList{address}) << "passed on untouched";

    browser.succeed = false;
    test::ModalAnswers answers;
    answers.answer(QMessageBox::Ok);
    EXPECT_FALSE(launch.open(nullptr, address));
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text, "The web browser could not be started to open " + address +
                                           ".\nYou can open that address in a browser yourself.");
    EXPECT_EQ(answers.shown()[0].format, Qt::PlainText);
}

class DonateMenuTest : public testing::Test {
protected:
    QWidget window;
    QAction cmdDonate{QStringLiteral("e-gold (USD Please)")};
    QAction cmdGetanAccount{QStringLiteral("Get an e-gold account (Free)")};
    test::StartRecorder browser;
    std::vector<bool> enabledDuringStart;
    DonateMenu menu{&window, &cmdDonate, &cmdGetanAccount, BrowserLaunch(browser.starter())};
};

TEST_F(DonateMenuTest, EachItemOpensItsPageOnceAndIsDisabledOnlyMeanwhile) {
    browser.during = [&] {
        enabledDuringStart.push_back(cmdDonate.isEnabled());
        enabledDuringStart.push_back(cmdGetanAccount.isEnabled());
    };
    menu.cmdDonate_Click();
    menu.cmdGetanAccount_Click();

    ASSERT_EQ(browser.starts.size(), 2u);
    EXPECT_EQ(browser.starts[0], platform::browserCommandLine(donatePage));
    EXPECT_EQ(browser.starts[1], platform::browserCommandLine(getAnAccountPage));
    EXPECT_EQ(enabledDuringStart, (std::vector{false, true, true, false}));
    EXPECT_TRUE(cmdDonate.isEnabled());
    EXPECT_TRUE(cmdGetanAccount.isEnabled());
    EXPECT_TRUE(donatePage.startsWith(u"http://"));
    EXPECT_TRUE(getAnAccountPage.startsWith(u"https://"));
    EXPECT_TRUE(getAnAccountPage.contains(u"/e-gold.asp?cid="));
}

TEST_F(DonateMenuTest, ItemIsEnabledAgainWhenTheBrowserCannotStart) {
    browser.succeed = false;
    test::ModalAnswers answers;
    answers.answer(QMessageBox::Ok);
    menu.cmdDonate_Click();
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_TRUE(answers.shown()[0].text.contains(donatePage));
    EXPECT_TRUE(cmdDonate.isEnabled());
    EXPECT_EQ(answers.unexpected(), 0);
}

}  // namespace
}  // namespace kestrix::about
