#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace kestrix::platform {
namespace {

TEST(StartDetached, ReportsAProgramThatCannotBeStarted) {
    QTemporaryDir folder;
    EXPECT_FALSE(startDetached({folder.filePath(QStringLiteral("no-such-browser")), {}}));
}

TEST(StartDetached, ReturnsWithoutWaitingForTheProgram) {
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sh"));
    if (shell.isEmpty()) {
        GTEST_SKIP() << "no shell to start here";
    }
    QTemporaryDir folder;
    const QString go = folder.filePath(QStringLiteral("go"));
    const QString mark = folder.filePath(QStringLiteral("done"));
    // The program finishes once the test says go, or on its own after ten seconds.
    const QString script = QStringLiteral(
        "i=0; until [ -e \"$1\" ] || [ $i -ge 1000 ]; do sleep 0.01; i=$((i+1)); done; : > \"$0\"");
    ASSERT_TRUE(startDetached({shell, {QStringLiteral("-c"), script, mark, go}}));
    EXPECT_FALSE(QFileInfo::exists(mark)) << "the start waited for the program to finish";
    QFile(go).open(QIODevice::WriteOnly);
    for (int waited = 0; waited < 10000 && !QFileInfo::exists(mark); waited += 20) {
        QThread::msleep(20);
    }
    EXPECT_TRUE(QFileInfo::exists(mark));
}

TEST(BrowserCommandLine, GivesTheAddressAsOneArgumentUntouched) {
    const QString address = QStringLiteral("https://www.e-gold.com/e-gold.asp?cid=1&x=\"y z\"");
    const CommandLine commandLine = browserCommandLine(address);
    EXPECT_EQ(commandLine.arguments, QStringList{address});
#ifdef Q_OS_WIN
    EXPECT_EQ(commandLine.program, QString()) << "the desktop's shell starts the browser";
#else
    EXPECT_EQ(commandLine.program, QStringLiteral("xdg-open"));
#endif
}

}  // namespace
}  // namespace kestrix::platform
