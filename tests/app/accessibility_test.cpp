#include "support/accessibility.h"
#include "support/program_fixture.h"
#include "support/start_recorder.h"
#include "support/version_server.h"
#include "ui/events.h"

#include <gtest/gtest.h>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace kestrix::test {
namespace {

using QA = QAccessible;
const QString press = QAccessibleActionInterface::pressAction();

// A program on a drive with one reference font and two excessive ones, whose update server
// offers a newer version.
class Accessibility : public ProgramFixture {
protected:
    Accessibility() {
        drive.addFonts({"arial.ttf", "Mine.ttf", "Other.fon"});
        server.answerWith(versionPage("Latest Version: 1.2.0"));
    }

    app::FrmKestrix& start() {
        return ProgramFixture::start(
            {drive.drives(), drive.appPath(), browser.starter(),
             update::Endpoint{QStringLiteral("127.0.0.1"), server.port()}});
    }

    static void expectEveryShownTextReadable(QWidget* window) {
        const QStringList readable = accessibleTexts(window);
        for (const QString& text : shownTexts(window)) {
            EXPECT_TRUE(readable.contains(text))
                << window->windowTitle().toStdString() << ": " << text.toStdString();
        }
    }

    static bool waitFor(QWidget* window, QA::Role role, const QString& name) {
        return QTest::qWaitFor([&] { return findAccessible(window, role, name) != nullptr; },
                               30'000);
    }

    VersionServer server;
    StartRecorder browser;
};

TEST_F(Accessibility, EveryTextOfEachWindowIsReadable) {
    app::FrmKestrix& w = start();
    scan(w);
    expectEveryShownTextReadable(&w);
    EXPECT_NE(findAccessible(&w, QA::StaticText, "Scanned: 3/3"), nullptr);
    EXPECT_NE(findAccessible(&w, QA::StaticText, "Percentage: 66%"), nullptr);

    w.cmdLiveUpdate->trigger();
    update::FrmCheckUpdates& updates = *program().frmCheckUpdates;
    updates.cmdCheck->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return updates.lblDownload->isVisible(); }, 5000));
    expectEveryShownTextReadable(&updates);
    updates.close();

    w.mnuAbout->trigger();
    expectEveryShownTextReadable(&*program().frmAbout);
}

TEST_F(Accessibility, ScanOptimizeAndUpdateCheckCanBeDrivenThroughTheTreeAlone) {
    app::FrmKestrix& w = start();
    AccessibilityEvents events;
    doAccessibleAction(findAccessible(&w, QA::PushButton, "Scan"), press);
    ASSERT_TRUE(waitFor(&w, QA::StaticText, "Found 2 excessive fonts."));
    EXPECT_EQ(events.namesHeard(QA::NameChanged, w.s1->panel(2)),
              QStringList({"Building and scanning index.", "Found 2 excessive fonts."}));
    EXPECT_EQ(events.namesHeard(QA::NameChanged, w.lblObjects),
              QStringList({"Scanned: 1/3", "Scanned: 2/3", "Scanned: 3/3"}));
    EXPECT_EQ(QA::queryAccessibleInterface(w.s1)->role(), QA::StatusBar);

    QAccessibleInterface* progress = findAccessible(&w, QA::ProgressBar, "Scan progress");
    ASSERT_NE(progress, nullptr);
    ASSERT_NE(progress->valueInterface(), nullptr);
    EXPECT_EQ(progress->valueInterface()->minimumValue().toInt(), 0);
    EXPECT_EQ(progress->valueInterface()->maximumValue().toInt(), 3);
    EXPECT_EQ(progress->valueInterface()->currentValue().toInt(), 1);

    // Rows read as their path and check mark; the toggle action unchecks, and is heard.
    QAccessibleInterface* list = findAccessible(&w, QA::List, "Excessive fonts");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 2);
    QAccessibleInterface* newest = list->child(0);
    EXPECT_EQ(newest->role(), QA::ListItem);
    EXPECT_EQ(newest->text(QA::Name), "C:\\WINDOWS\\Fonts\\Other.fon");
    EXPECT_TRUE(newest->state().checkable && newest->state().checked);
    doAccessibleAction(newest, QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(w.lstFonts->isChecked(1));
    EXPECT_FALSE(newest->state().checked);
    const auto& heard = events.heard();
    EXPECT_TRUE(std::any_of(heard.begin(), heard.end(), [](const AccessibilityEvents::Heard& e) {
        return e.type == QA::StateChanged && e.changed.checked &&
               e.name == "C:\\WINDOWS\\Fonts\\Other.fon";
    }));

    answers.answer(QMessageBox::Yes, ModalAnswers::By::AssistiveTechnology);
    doAccessibleAction(findAccessible(&w, QA::PushButton, "Optimize"), press);
    ASSERT_TRUE(waitFor(&w, QA::StaticText, "Total Deleted: 1"));
    EXPECT_FALSE(drive.hasFont("Mine.ttf"));
    EXPECT_TRUE(drive.hasFont("Other.fon"));
    EXPECT_NE(findAccessible(&w, QA::StaticText, "Awaiting user commands."), nullptr);

    // The download link is a link whose press does what a click does, once.
    doAccessibleAction(findAccessible(&w, QA::MenuItem, "Check for Updates"), press);
    update::FrmCheckUpdates& updates = *program().frmCheckUpdates;
    doAccessibleAction(findAccessible(&updates, QA::PushButton, "Connect"), press);
    ASSERT_TRUE(QTest::qWaitFor([&] { return updates.lblDownload->isVisible(); }, 5000));
    QAccessibleInterface* link = findAccessible(&updates, QA::Link, "Download updates.");
    ASSERT_NE(link, nullptr);
    doAccessibleAction(link, press);
    link->actionInterface()->doAction(press);
    EXPECT_EQ(browser.starts.size(), 1U);
    EXPECT_EQ(updates.lblDownload->foreColor(), QColor(64, 64, 64));
    EXPECT_TRUE(link->state().disabled);
    EXPECT_FALSE(link->actionInterface()->actionNames().contains(press));
    updates.close();

    doAccessibleAction(findAccessible(&w, QA::MenuItem, "Exit"), press);
    EXPECT_TRUE(ui::programEnding());
}

TEST_F(Accessibility, ScanOptimizeAndUpdateCheckCanBeDrivenFromTheKeyboardAlone) {
    app::FrmKestrix& w = start();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Keys go where the desktop sends them: to an open menu, else to the focused control.
    const auto focused = [](const QWidget* control) {
        return QTest::qWaitFor([&] { return QApplication::focusWidget() == control; }, 1000);
    };
    const auto key = [](int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup != nullptr ? popup : QApplication::focusWidget(), Qt::Key(code),
                        modifiers);
    };

    // Access keys are underlined only while Alt is held.
    const auto underlined = [&](const QWidget* widget) {
        return w.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, widget) != 0;
    };
    EXPECT_FALSE(underlined(w.menuBar()));
    QTest::keyPress(w.cmdScan, Qt::Key_Alt);
    EXPECT_TRUE(underlined(w.menuBar()) && underlined(w.cmdScan));
    QTest::keyRelease(w.cmdScan, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(underlined(w.cmdScan));
    key(Qt::Key_Escape);
    EXPECT_FALSE(underlined(w.menuBar()));

    // Each menu opens by its access key, the first also by F10.
    for (const auto& [code, modifiers, menu] :
         {std::tuple{Qt::Key_F, Qt::AltModifier, w.mnuFile},
          std::tuple{Qt::Key_O, Qt::AltModifier, w.mnuOptions},
          std::tuple{Qt::Key_D, Qt::AltModifier, w.mnuDonate},
          std::tuple{Qt::Key_F10, Qt::NoModifier, w.mnuFile}}) {
        w.cmdScan->setFocus();
        key(code, modifiers);
        EXPECT_TRUE(menu->menu()->isVisible()) << menu->objectName().toStdString();
        EXPECT_TRUE(underlined(menu->menu()));
        key(Qt::Key_Escape);
        key(Qt::Key_Escape);
        EXPECT_FALSE(menu->menu()->isVisible());
    }
    // The offscreen platform gives each menu that opens the activation, and not back.
    QCoreApplication::processEvents();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }));

    w.cmdScan->setFocus();
    key(Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.tmrScan->isActive(); }, 30'000));
    EXPECT_EQ(QApplication::focusWidget(), w.lstFonts);
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    EXPECT_FALSE(w.lstFonts->isChecked(1));

    // After a question the focus is back on the control that asked it.
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.cmdScan);
    answers.answer(QMessageBox::No, ModalAnswers::By::Keyboard);
    key(Qt::Key_Space);
    EXPECT_TRUE(focused(w.cmdScan));

    key(Qt::Key_Tab);
    answers.answer(QMessageBox::Yes, ModalAnswers::By::Keyboard);
    key(Qt::Key_Space);
    EXPECT_EQ(w.lblttl->text(), "1");
    EXPECT_FALSE(drive.hasFont("Mine.ttf"));
    EXPECT_TRUE(drive.hasFont("Other.fon"));

    key(Qt::Key_O, Qt::AltModifier);
    key(Qt::Key_C);
    update::FrmCheckUpdates& updates = *program().frmCheckUpdates;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&updates));
    EXPECT_EQ(QApplication::focusWidget(), updates.cmdCheck);
    key(Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return updates.lblDownload->isVisible(); }, 5000));
    EXPECT_EQ(QApplication::focusWidget(), updates.lblDownload);
    key(Qt::Key_Space);
    EXPECT_EQ(browser.starts.size(), 1U);
    key(Qt::Key_Escape);
    EXPECT_FALSE(program().frmCheckUpdates.isLoaded());

    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(ui::programEnding());
}

}  // namespace
}  // namespace kestrix::test
