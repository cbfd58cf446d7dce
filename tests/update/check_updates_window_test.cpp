#include "update/check_updates_window.h"

#include "about/about_window.h"
#include "support/modal_answers.h"
#include "support/program_state.h"
#include "support/start_recorder.h"
#include "support/version_server.h"
#include "ui/events.h"
#include "ui/form_slot.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

namespace kestrix::update {
namespace {

using test::versionPage;

const QString awaiting = QStringLiteral("Awaiting user commands...");
const QString checking = QStringLiteral("Checking for updates...");
const QString pleaseDownload =
    QStringLiteral("Please download the latest version of Kestrix, Version: ");
const QString runningLatest =
    QStringLiteral("You are running the latest version of Kestrix, Version: ");

// Whether the widget, as painted, shows any pixel of exactly this colour.
bool paintsIn(QWidget* widget, const QColor& colour) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) {
                return true;
            }
        }
    }
    return false;
}

class CheckUpdatesWindow : public testing::Test {
protected:
    CheckUpdatesWindow() { ui::clearProgramEnding(); }

    // Presses Connect and waits until the request has reached the server.
    void pressConnect() {
        QTest::mouseClick(frm->cmdCheck, Qt::LeftButton);
        ASSERT_TRUE(server.waitForRequest());
        ASSERT_TRUE(QTest::qWaitFor([&] { return frm->lblStatus->text() == checking; }, 5000));
    }
    bool waitForVerdict() {
        return QTest::qWaitFor([&] { return frm->lblStatus->text() != checking; }, 5000);
    }
    // Sends a piece of the reply and waits until the window has taken it (its handler runs
    // before the spy hears the event).
    void arrive(const QByteArray& piece) {
        QSignalSpy arrivals(&frm->w1, &SocketClient::DataArrivalEvent);
        server.send(piece);
        ASSERT_TRUE(arrivals.wait(5000));
    }
    [[nodiscard]] QString downloadAddress() const {
        return QStringLiteral("http://127.0.0.1:%1/kestrix/kestrix.zip").arg(server.port());
    }

    test::ProgramState state;
    test::VersionServer server;
    test::StartRecorder browser;
    int handBacks = 0;
    ui::FormSlot<about::FrmAbout> frmAbout{[] { return std::make_unique<about::FrmAbout>([] {}); }};
    ui::FormSlot<FrmCheckUpdates> frm{[this] {
        return std::make_unique<FrmCheckUpdates>(
            Endpoint{QStringLiteral("127.0.0.1"), server.port()}, [this] { ++handBacks; },
            [this] { return frmAbout->lbltxtVersion->text(); },
            about::BrowserLaunch(browser.starter()));
    }};
};

TEST_F(CheckUpdatesWindow, SendsExactlyTheFourLineRequestOnceConnected) {
    frm.show();
    EXPECT_EQ(frm->lblStatus->text(), awaiting);
    QTest::mouseClick(frm->cmdCheck, Qt::LeftButton);
    EXPECT_FALSE(frm->cmdCheck->isEnabled());
    EXPECT_EQ(frm->lblStatus->text(), QStringLiteral("Connecting to server..."));

    ASSERT_TRUE(server.waitForRequest());
    EXPECT_EQ(server.received(), QByteArray("GET /kestrix/version.html HTTP/1.1\r\n"
                                            "Host: 127.0.0.1\r\n"
                                            "Connection: Keep-Alive\r\n"
                                            "\r\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm->lblStatus->text() == checking; }, 5000));
    EXPECT_EQ(server.connections(), 1);
}

struct VerdictCase {
    const char* name;
    QByteArray pageEnding;
    QString status;
    bool linkShown;
};

TEST_F(CheckUpdatesWindow, GivesItsVerdictAndClosesTheConnection) {
    const std::vector<VerdictCase> cases = {
        {"equal", "Latest Version: 1.1.8", runningLatest + "1.1.8", false},
        {"different", "Latest Version: 1.2.0", pleaseDownload + "1.2.0", true},
        {"line end behind", "Latest Version: 1.1.8\r\n", runningLatest + "1.1.8", false},
        {"two markers", "Latest Version: 1.1.8Latest Version: 2.0", runningLatest + "1.1.8", false},
        {"empty", "Latest Version: ", pleaseDownload, true},
        {"markup", "Latest Version: <img src=\"http://127.0.0.1:1/x.png\"><b>2</b>",
         pleaseDownload + "<img src=\"http://127.0.0.1:1/x.png\"><b>2</b>", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int connectionsBefore = server.connections();
        server.answerWith(versionPage(c.pageEnding));
        frm.show();
        pressConnect();
        ASSERT_TRUE(waitForVerdict());
        EXPECT_EQ(frm->lblStatus->text(), c.status);
        EXPECT_EQ(frm->lblStatus->textFormat(), Qt::PlainText);
        EXPECT_EQ(frm->lblDownload->isVisible(), c.linkShown);
        EXPECT_TRUE(server.waitForClientClose()) << "the program closes after its verdict";
        test::deliverQueuedEvents();
        EXPECT_FALSE(frm->cmdCheck->isEnabled()) << "its own close raises no Close event";
        EXPECT_EQ(frm->lblStatus->text(), c.status);
        EXPECT_EQ(server.connections(), connectionsBefore + 1) << "nothing else was fetched";
        EXPECT_TRUE(browser.starts.empty());
        frm.unload();
        QTest::qWait(0);
    }
}

TEST_F(CheckUpdatesWindow, MarkerInAnotherLetterCaseIsNoVerdictUntilThePeerCloses) {
    server.answerWith(versionPage("latest version: 1.2.0"));
    frm.show();
    QSignalSpy arrivals(&frm->w1, &SocketClient::DataArrivalEvent);
    pressConnect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !arrivals.isEmpty(); }, 5000));
    EXPECT_EQ(frm->lblStatus->text(), checking);
    EXPECT_FALSE(frm->cmdCheck->isEnabled());
    EXPECT_FALSE(frm->lblDownload->isVisible());

    server.closePeer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frm->cmdCheck->isEnabled(); }, 5000));
    EXPECT_EQ(frm->lblStatus->text(), checking);
    EXPECT_FALSE(frm->lblDownload->isVisible());
}

TEST_F(CheckUpdatesWindow, JudgesEachPieceOfTheReplyOnItsOwn) {
    frm.show();
    pressConnect();
    arrive("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>Latest Ver");
    arrive("sion: 1.2.0</p>\r\n");
    EXPECT_EQ(frm->lblStatus->text(), checking) << "a marker cut in two is never found";
    EXPECT_FALSE(frm->cmdCheck->isEnabled());

    arrive("<p>Latest Version: 1.1.8");
    EXPECT_EQ(frm->lblStatus->text(), runningLatest + "1.1.8");
    EXPECT_TRUE(server.waitForClientClose());
}

TEST_F(CheckUpdatesWindow, RefusedConnectionShowsTheErrorAndConnectTriesAgain) {
    test::ClosedPort closed;
    ui::FormSlot<FrmCheckUpdates> refused{[&] {
        return std::make_unique<FrmCheckUpdates>(
            Endpoint{QStringLiteral("127.0.0.1"), closed.port()}, [] {}, [] { return QString(); },
            about::BrowserLaunch(browser.starter()));
    }};
    refused.show();
    QTest::mouseClick(refused->cmdCheck, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return refused->cmdCheck->isEnabled(); }, 5000));
    EXPECT_EQ(refused->lblStatus->text(),
              QStringLiteral("Error 10061. Connection refused. Please try again later."));
    EXPECT_FALSE(refused->lblDownload->isVisible());

    // The server is there now: the next Connect starts afresh and reaches it.
    QTcpServer later;
    ASSERT_TRUE(closed.openInto(later));
    QTest::mouseClick(refused->cmdCheck, Qt::LeftButton);
    EXPECT_EQ(refused->lblStatus->text(), QStringLiteral("Connecting to server..."));
    ASSERT_TRUE(later.waitForNewConnection(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return refused->lblStatus->text() == checking; }, 5000));
    EXPECT_FALSE(refused->cmdCheck->isEnabled());
}

TEST_F(CheckUpdatesWindow, ClosingDuringACheckHandsBackAndHearsNothingMore) {
    frm.show();
    pressConnect();
    QSignalSpy arrivals(&frm->w1, &SocketClient::DataArrivalEvent);
    QSignalSpy closes(&frm->w1, &SocketClient::CloseEvent);
    QSignalSpy errors(&frm->w1, &SocketClient::ErrorEvent);
    // The reply is already on its way when the user closes the window.
    server.send(versionPage("Latest Version: 1.2.0"));
    frm->close();

    EXPECT_EQ(handBacks, 1);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_TRUE(server.waitForClientClose()) << "the window closed its connection";
    server.send("Latest Version: 2.0");
    test::deliverQueuedEvents();
    EXPECT_EQ(arrivals.count(), 0);
    EXPECT_EQ(closes.count(), 0);
    EXPECT_EQ(errors.count(), 0);
    EXPECT_FALSE(frmAbout.isLoaded()) << "no verdict was reached, so no version was read";
}

TEST_F(CheckUpdatesWindow, ReopenedWindowShowsItsDesignValues) {
    server.answerWith(versionPage("Latest Version: 1.2.0"));
    frm.show();
    pressConnect();
    ASSERT_TRUE(waitForVerdict());
    ASSERT_TRUE(frm->lblDownload->isVisible());
    QTest::mouseClick(frm->lblDownload, Qt::LeftButton);
    frm->close();
    EXPECT_EQ(handBacks, 1);
    QTest::qWait(0);

    frm.show();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Kestrix - Check for updates..."));
    EXPECT_EQ(frm->lblStatus->text(), awaiting);
    EXPECT_TRUE(frm->cmdCheck->isEnabled());
    EXPECT_FALSE(frm->lblDownload->isVisible());
    EXPECT_TRUE(frm->lblDownload->isEnabled());
    EXPECT_EQ(frm->lblDownload->foreColor(), QColor(0, 0, 255));
    EXPECT_TRUE(frm->lblDownload->font().underline());
    EXPECT_EQ(frm->clientArea()->size(), QSize(241, 113));
}

TEST_F(CheckUpdatesWindow, VerdictLoadsTheAboutWindowHidden) {
    server.answerWith(versionPage("Latest Version: 1.1.8"));
    frm.show();
    ASSERT_FALSE(frmAbout.isLoaded());
    pressConnect();
    ASSERT_TRUE(waitForVerdict());
    EXPECT_EQ(frm->lblStatus->text(), runningLatest + "1.1.8");
    ASSERT_TRUE(frmAbout.isLoaded());
    EXPECT_FALSE(frmAbout->isVisible());
}

TEST_F(CheckUpdatesWindow, DownloadLinkStartsTheBrowserOnceAndTurnsGrey) {
    server.answerWith(versionPage("Latest Version: 1.2.0"));
    frm.show();
    pressConnect();
    ASSERT_TRUE(waitForVerdict());
    ASSERT_TRUE(frm->lblDownload->isVisible());
    EXPECT_TRUE(paintsIn(frm->lblDownload, QColor(0, 0, 255)));

    QTest::mouseClick(frm->lblDownload, Qt::LeftButton);
    QTest::mouseClick(frm->lblDownload, Qt::LeftButton);
    EXPECT_TRUE(paintsIn(frm->lblDownload, QColor(64, 64, 64)));
    EXPECT_FALSE(paintsIn(frm->lblDownload, QColor(0, 0, 255)));
    ASSERT_EQ(browser.starts.size(), 1u);
    EXPECT_EQ(browser.starts[0], platform::browserCommandLine(downloadAddress()));
    EXPECT_EQ(browser.starts[0].arguments.last(), downloadAddress());
    EXPECT_EQ(frm->lblDownload->foreColor(), QColor(64, 64, 64));
    EXPECT_FALSE(frm->lblDownload->isEnabled());
}

TEST_F(CheckUpdatesWindow, BrowserThatCannotStartIsReportedWithTheAddress) {
    server.answerWith(versionPage("Latest Version: 1.2.0"));
    browser.succeed = false;
    test::ModalAnswers answers;
    answers.answer(QMessageBox::Ok);
    frm.show();
    pressConnect();
    ASSERT_TRUE(waitForVerdict());

    QTest::mouseClick(frm->lblDownload, Qt::LeftButton);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_TRUE(answers.shown()[0].text.contains(downloadAddress()));
    EXPECT_EQ(answers.shown()[0].format, Qt::PlainText);
    EXPECT_EQ(answers.unexpected(), 0);
    EXPECT_EQ(browser.starts.size(), 1u);
}

}  // namespace
}  // namespace kestrix::update
