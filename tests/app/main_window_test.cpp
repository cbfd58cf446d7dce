#include "app/single_instance.h"
#include "platform/session_socket.h"
#include "support/program_fixture.h"
#include "ui/events.h"
#include "ui/message_box.h"

#include <gtest/gtest.h>
#include <QLocalServer>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QProcess>
#include <csignal>
#endif

namespace kestrix::test {
namespace {

using MainWindow = ProgramFixture;

// The captions as shown, without the marks of their access keys.
QStringList menuCaptions(const QAction* menu) {
    QStringList captions;
    for (const QAction* item : menu->menu()->actions()) {
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text().remove(u'&'));
    }
    return captions;
}

// Every item of the menu bar and of each menu has an access key of its own.
void expectAccessKeys(const QList<QAction*>& items) {
    QList<QKeySequence> keys;
    for (const QAction* item : items) {
        if (!item->isSeparator()) {
            const QKeySequence key = QKeySequence::mnemonic(item->text());
            EXPECT_FALSE(key.isEmpty() || keys.contains(key)) << item->objectName().toStdString();
            keys << key;
        }
    }
}

TEST_F(MainWindow, StartsIdleWithItsDesignValues) {
    app::FrmKestrix& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Kestrix - Main");
    EXPECT_EQ(w.cmdScan->text(), "Scan");
    EXPECT_TRUE(w.cmdScan->isEnabled());
    EXPECT_EQ(w.cmdRemove->text(), "Optimize");
    EXPECT_FALSE(w.cmdRemove->isEnabled());
    EXPECT_FALSE(w.tmrScan->isActive());
    EXPECT_EQ(w.tmrScan->interval(), 1);
    EXPECT_EQ(w.lstFonts->rowCount(), 0);
    EXPECT_EQ(w.frmStatistics->title(), "Font Statistics:");
    EXPECT_EQ(w.frmFound->title(), "");
    EXPECT_EQ(w.lbltxtScanned->text(), "Scanned:");
    EXPECT_EQ(w.lbltxtExcessive->text(), "Excessive:");
    EXPECT_EQ(w.lbltxtPercentage->text(), "Percentage:");
    EXPECT_EQ(w.lbltxtRemoved->text(), "Total Deleted:");
    EXPECT_EQ(w.lblObjects->text(), "0");
    EXPECT_EQ(w.lblFound->text(), "0");
    EXPECT_EQ(w.lblPercent->text(), "0%");
    EXPECT_EQ(w.s1->panelText(1), "Status");
    EXPECT_EQ(w.s1->panelText(2), "Awaiting user commands.");
    EXPECT_EQ(w.s1->panelText(3), "");
    EXPECT_EQ(w.xp1->minimum(), 0);
    EXPECT_EQ(w.xp1->maximum(), 100);
    EXPECT_EQ(w.xp1->value(), 0);
    EXPECT_EQ(w.lstDatabase.listCount(), 106);

    EXPECT_TRUE(w.FoundCount.isEmpty());
    EXPECT_EQ(w.ScanPercent, ui::LooseValue::integer(0));
    EXPECT_EQ(w.ScannedCount, ui::LooseValue::integer(0));
}

TEST_F(MainWindow, OffersTheMenuTree) {
    app::FrmKestrix& w = start();
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0], w.mnuFile);
    EXPECT_EQ(bar[1], w.mnuOptions);
    EXPECT_EQ(bar[2], w.mnuDonate);
    EXPECT_EQ(w.mnuFile->text(), "&File");
    EXPECT_EQ(w.mnuOptions->text(), "&Options");
    EXPECT_EQ(w.mnuDonate->text(), "&Donate");
    expectAccessKeys(bar);
    EXPECT_EQ(menuCaptions(w.mnuFile), QStringList({"Exit"}));
    EXPECT_EQ(menuCaptions(w.mnuOptions),
              QStringList({"Select All", "Unselect All", "-", "Reset Statistics",
                           "Check for Updates", "-", "About"}));
    EXPECT_EQ(menuCaptions(w.mnuDonate),
              QStringList({"e-gold (USD Please)", "-", "Get an e-gold account (Free)"}));
    for (const QAction* menu : bar) {
        expectAccessKeys(menu->menu()->actions());
    }
    for (const QAction* item :
         {w.mnuFile, w.mnuExit, w.mnuOptions, w.cmdSelectAll, w.cmdUnselectAll, w.mnuReset,
          w.cmdLiveUpdate, w.mnuAbout, w.mnuDonate, w.cmdDonate, w.cmdGetanAccount}) {
        EXPECT_TRUE(item->isEnabled() && item->isVisible() && !item->isChecked())
            << item->objectName().toStdString();
    }
}

TEST_F(MainWindow, IsLaidOutInTwipsAtItsFixedSize) {
    app::FrmKestrix& w = start();
    QWidget* client = w.clientArea();
    EXPECT_EQ(client->size(), QSize(377, 183));
    EXPECT_EQ(client->y(), w.menuBar()->height()) << "the client area lies below the menu bar";
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the window keeps its size";

    EXPECT_EQ(w.frmFound->geometry(), QRect(8, 2, 241, 155));
    EXPECT_EQ(w.lstFonts->geometry(), QRect(2, 8, 237, 145));
    EXPECT_EQ(w.cmdScan->geometry(), QRect(256, 8, 113, 25));
    EXPECT_EQ(w.cmdRemove->geometry(), QRect(256, 40, 113, 25));
    EXPECT_EQ(w.frmStatistics->geometry(), QRect(256, 72, 113, 85));
    EXPECT_EQ(w.s1->geometry(), QRect(0, 163, 377, 20));

    // The progress bar covers the third panel and meets the client area's right and bottom edges.
    const QRect bar = w.xp1->geometry();
    EXPECT_EQ(bar, QRect(197, 166, 180, 17));
    EXPECT_EQ(bar.right(), client->width() - 1);
    EXPECT_EQ(bar.bottom(), client->height() - 1);
    EXPECT_EQ(client->childAt(bar.center()), w.xp1) << "drawn in front of the status bar";
    EXPECT_EQ(w.s1->panel(1)->width(), 43);
    EXPECT_EQ(w.s1->panel(2)->width(), 149);

    // Right-aligned figures keep their right edge; captions keep their left edge.
    EXPECT_EQ(w.lblObjects->geometry().right() + 1, 102);
    EXPECT_EQ(w.lbltxtScanned->x(), 8);
    w.lblObjects->setText("12,345/12,345");
    EXPECT_GE(w.lblObjects->x(), w.lbltxtScanned->geometry().right());
    EXPECT_LE(w.lblObjects->geometry().right(), w.frmStatistics->width());
}

TEST_F(MainWindow, LooksAsDesigned) {
    app::FrmKestrix& w = start();
    const Qt::WindowFlags flags = w.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w.font().family(), "Tahoma");
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), 8.25);
    EXPECT_EQ(w.cmdScan->font(), w.font());
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_EQ(w.windowIcon().availableSizes().value(0), QSize(16, 16));
    // Drawn, not enlarged, for a title bar at a scale factor of 2.
    EXPECT_TRUE(w.windowIcon().availableSizes().contains(QSize(32, 32)));
    EXPECT_FALSE(w.i1.isNull());

    // Centred on the screen.
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_LE(std::abs(w.frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(w.frameGeometry().center().y() - screen.center().y()), 1);
}

TEST_F(MainWindow, TabsFromScanToOptimizeToTheListWithScanFocused) {
    app::FrmKestrix& w = start();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.cmdScan);
    w.cmdRemove->setEnabled(true);  // only enabled controls take the focus
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.cmdRemove);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.lstFonts);
}

TEST_F(MainWindow, ExitAndTheCloseBoxEndTheProgram) {
    {
        app::FrmKestrix& w = start();
        w.mnuExit->trigger();
        EXPECT_TRUE(ui::programEnding());
        EXPECT_FALSE(w.isVisible());
    }
    {
        app::FrmKestrix& w = start();
        EXPECT_FALSE(ui::programEnding()) << "a program that starts again is not ending";
        w.close();
        EXPECT_TRUE(ui::programEnding());
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_EQ(answers.shown().size(), 0U);

    // The end of a program leaves later questions in the same process waiting for an answer.
    answers.answer(QMessageBox::Yes);
    EXPECT_TRUE(ui::askYesNo(nullptr, QStringLiteral("Still asking?")));
    EXPECT_EQ(answers.shown().size(), 1U);
}

TEST_F(MainWindow, ASecondStartBringsTheFirstToTheFrontAndEnds) {
    const QTemporaryDir runtime;
    const QString session = runtime.filePath(QStringLiteral("kestrix"));
    app::SingleInstance first(session);
    ASSERT_TRUE(first.claim());
    app::FrmKestrix& w = start();
    QObject::connect(&first, &app::SingleInstance::frontWanted,
                     [this] { program().bringToFront(); });
    w.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMinimized(); }));

    EXPECT_FALSE(app::SingleInstance(session).claim()) << "the second start found nobody";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isMinimized() && w.isActiveWindow(); }));

    // Another program listening there, saying nothing as Kestrix, keeps no start from running.
    const QString taken = runtime.filePath(QStringLiteral("taken"));
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(taken));
    EXPECT_TRUE(app::SingleInstance(taken).claim()) << "a start handed over to a stranger";

#ifdef Q_OS_UNIX
    // One that died left its socket behind, which nobody answers at: the next start takes over.
    const QString dead = runtime.filePath(QStringLiteral("dead"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(dead);
    std::copy(path.begin(), path.end(), address.sun_path);
    const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(left);
    ASSERT_TRUE(QFileInfo::exists(dead));
    app::SingleInstance next(dead);
    EXPECT_TRUE(next.claim());
    EXPECT_FALSE(app::SingleInstance(dead).claim());

    // The program itself, from a folder of its own (its Info.ini goes beside it): a start hands
    // over to a running Kestrix and ends, and runs on its own beside a stopped one.
    const QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRIX_PROGRAM), folder.filePath("kestrix")));
    ASSERT_TRUE(QDir().mkdir(folder.filePath("run"),
                             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.filePath("run"));
    QProcess running, handingOver, beside;
    for (QProcess* program : {&running, &handingOver, &beside}) {
        program->setProcessEnvironment(environment);
        program->setProgram(folder.filePath("kestrix"));
        program->setArguments({QStringLiteral("--prefix"), folder.filePath("prefix")});
    }
    running.start();
    const QString listening =
        folder.filePath(QStringLiteral("run/kestrix-%1-offscreen").arg(::getuid()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(listening); }, 30'000));
    handingOver.start();
    EXPECT_TRUE(handingOver.waitForFinished(30'000) && handingOver.exitCode() == 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(running.processId()), SIGSTOP), 0);
    beside.start();
    EXPECT_FALSE(beside.waitForFinished(6'000)) << "a start ended beside a stopped Kestrix";
    beside.kill();
    ::kill(static_cast<pid_t>(running.processId()), SIGCONT);
    running.kill();
    EXPECT_TRUE(beside.waitForFinished() && running.waitForFinished());
#endif
}

TEST(SessionSocket, NamesOneDisplayOneWay) {
    const std::pair<QString, QString> written[] = {{":91.0", ":91"},
                                                   {"unix:91.2", ":91"},
                                                   {"unix/:91", ":91"},
                                                   {"localhost:91.0", "localhost:91"},
                                                   {"tcp/Host.Example:0.1", "host.example:0"}};
    for (const auto& [display, name] : written) {
        EXPECT_EQ(platform::normalDisplayName(display), name) << display.toStdString();
    }
}

}  // namespace
}  // namespace kestrix::test
