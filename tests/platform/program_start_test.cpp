#include "platform/program_start.h"

#include <gtest/gtest.h>
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
    const QString mark = folder.filePath(QStringLiteral("done"));
    ASSERT_TRUE(startDetached(
        {shell, {QStringLiteral("-c"), QStringLiteral("sleep 0.5; : > \"$0\""), mark}}));
    EXPECT_FALSE(QFileInfo::exists(mark)) << "the start waited for the program to finish";
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
    EXPECT_EQ(commandLine.program,
              QStringLiteral(R"(C:\Program Files\Internet Explorer\IEXPLORE.EXE)"));
#else
    EXPECT_EQ(commandLine.program, QStringLiteral("xdg-open"));
#endif
}

}  // namespace
}  // namespace kestrix::platform
