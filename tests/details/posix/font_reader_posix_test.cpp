// The font reader meeting a crash or a hang, played by shell scripts; ending with its program;
// the libraries that print on its standard output; and a verdict that comes late.
#include "details/font_reader.h"
#include "support/event_loop_gaps.h"
#include "support/files.h"
#include "support/program_fixture.h"
#include "support/scoped_variable.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace kestrix::details {
namespace {

using namespace std::chrono_literals;

// A script in `folder` that stands in for the font reader.
QString standInReader(const QTemporaryDir& folder, const QByteArray& script,
                      const QByteArray& interpreter = "/bin/sh") {
    const QString program = folder.filePath(QStringLiteral("reader"));
    test::writeFile(program, "#!" + interpreter + '\n' + script + '\n');
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    return program;
}

// Whether the process runs: neither gone nor a zombie.
bool running(qint64 pid) {
    const QByteArray stat = test::contentOf(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype state = stat.lastIndexOf(") ") + 2;
    return stat != "<missing>" && state < stat.size() && stat[state] != 'Z' && stat[state] != 'X';
}

// A file that crashes or hangs the font engine cannot be made on purpose; a reader that does
// either on every file stands in for the engine meeting one. The one that hangs holds memory
// in many pieces, as a reader swollen by a font does, which the system takes a while to free
// once it is killed: the window's thread must not wait for that.
TEST(FontReaderTest, AFileThatCrashesOrHangsTheReaderIsNotAFontAndTheNextFileIsReadAgain) {
    QTemporaryDir folder;
    const struct {
        const char* reader;
        FontVerdict::Kind kind;
        QString reason;
    } cases[] = {
        {"kill -SEGV $$", FontVerdict::Kind::NotAFont,
         QStringLiteral("the font engine crashed on it")},
        {"exec python3 -c 'import mmap, time\n"
         "maps = [mmap.mmap(-1, 4096) for _ in range(50000)]\n"
         "[held.write(b\"x\") for held in maps]\n"
         "time.sleep(60)'",
         FontVerdict::Kind::NotAFont,
         QStringLiteral("the font engine took longer than 1.5 seconds on it")},
        {nullptr, FontVerdict::Kind::NoReader,
         QStringLiteral("the font reader cannot be started: ")},
    };
    for (const auto& each : cases) {
        const QString program = each.reader ? standInReader(folder, each.reader)
                                            : folder.filePath(QStringLiteral("missing-reader"));
        FontReader reader(program, 1500ms);
        std::map<QString, FontVerdict> verdicts;
        QObject::connect(&reader, &FontReader::verdictRead,
                         [&](const QString& key, const FontVerdict& verdict) {
                             verdicts.emplace(key, verdict);
                         });
        const test::EventLoopGaps gaps;
        reader.request(QStringLiteral("first"), {QStringLiteral("/first.ttf"), false});
        reader.request(QStringLiteral("second"), {QStringLiteral("/second.ttf"), true});
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.idle(); }, 10000)) << each.reader;
        // The killed readers have ended and been reaped.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return reader.findChildren<platform::HelperProcess*>().isEmpty(); }));
        // Well below the patience a wait for the reader would show as, above a busy machine's
        // hiccups.
        EXPECT_LT(gaps.longest(), 500) << each.reader;
        ASSERT_EQ(verdicts.size(), 2U);
        for (const auto& [key, verdict] : verdicts) {
            EXPECT_EQ(verdict.kind, each.kind) << key.toStdString();
            EXPECT_TRUE(verdict.reason.startsWith(each.reason)) << verdict.reason.toStdString();
        }
    }
}

TEST(FontReaderTest, AReaderEndsWithTheProgramThatStartedItEvenWhileItWorks) {
    QTemporaryDir folder;
    const QString pidFile = folder.filePath(QStringLiteral("reader.pid"));
    const QString reader =
        standInReader(folder, "echo $$ > '" + pidFile.toLocal8Bit() + "'; exec sleep 60");
    QProcess program;
    program.start(QStringLiteral(KESTRIX_READER_PARENT), {reader, QStringLiteral("/any.ttf")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return test::contentOf(pidFile).endsWith('\n'); }, 10000));
    const qint64 pid = test::contentOf(pidFile).trimmed().toLongLong();
    ASSERT_TRUE(running(pid));

    program.kill();
    ASSERT_TRUE(program.waitForFinished());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !running(pid); }, 1000));
    if (running(pid)) {
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
}

// fontconfig prints its debugging on standard output when FC_DEBUG asks for it.
TEST(FontReaderTest, WhatTheReadersLibrariesPrintLeavesItsVerdictsWhole) {
    const test::ScopedVariable debugging("FC_DEBUG", "1");
    FontReader reader(QStringLiteral(KESTRIX_FONT_READER), readerPatience);
    std::optional<FontVerdict> read;
    QObject::connect(&reader, &FontReader::verdictRead,
                     [&](const QString&, const FontVerdict& verdict) { read = verdict; });
    reader.request({},
                   {QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"), true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return read.has_value(); }, 20000));
    EXPECT_EQ(read->kind, FontVerdict::Kind::Font) << read->reason.toStdString();
    EXPECT_EQ(read->family, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(read->samples.size(), 3);
}

// The values of a line of /proc/PID/status.
QList<QByteArray> statusOf(qint64 pid, const QByteArray& field) {
    for (const QByteArray& line :
         test::contentOf(QStringLiteral("/proc/%1/status").arg(pid)).split('\n')) {
        if (line.startsWith(field + ':')) {
            return line.mid(field.size() + 1).simplified().split(' ');
        }
    }
    return {"<none>"};
}

// Started by a program that runs as root, the reader gives up root before it reads anything; the
// files it reads are handed to it, even from a folder only root may enter.
TEST(FontReaderTest, ReadsFilesOnlyRootMayReadWithoutRootsRights) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "the program runs as root only where the test does";
    }
    QTemporaryDir rootsOnly;
    ASSERT_TRUE(QFile::setPermissions(rootsOnly.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString font = rootsOnly.filePath(QStringLiteral("font.ttf"));
    test::writeFile(font, test::contentOf(QStringLiteral(KESTRIX_TEST_FONTS "/impostor.ttf")));
    ASSERT_TRUE(QFile::setPermissions(font, QFile::ReadOwner));
    FontReader reader(QStringLiteral(KESTRIX_FONT_READER), readerPatience);
    std::optional<FontVerdict> read;
    QObject::connect(&reader, &FontReader::verdictRead,
                     [&](const QString&, const FontVerdict& verdict) { read = verdict; });
    reader.request({}, {font, true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return read.has_value(); }, 20000));
    EXPECT_EQ(read->kind, FontVerdict::Kind::Font) << read->reason.toStdString();
    EXPECT_EQ(read->samples.size(), 3);

    // It stays as it read, and could never become more.
    const auto readers = reader.findChildren<platform::HelperProcess*>();
    ASSERT_EQ(readers.size(), 1);
    const qint64 pid = readers.front()->processId();
    for (const QByteArray& id : statusOf(pid, "Uid") + statusOf(pid, "Gid")) {
        EXPECT_NE(id, "0");
    }
    EXPECT_EQ(statusOf(pid, "Groups"), QList<QByteArray>{""});
    for (const char* capabilities : {"CapInh", "CapPrm", "CapEff", "CapAmb"}) {
        EXPECT_EQ(statusOf(pid, capabilities), QList<QByteArray>{"0000000000000000"})
            << capabilities;
    }
    EXPECT_EQ(statusOf(pid, "NoNewPrivs"), QList<QByteArray>{"1"});
}

using FoundDetailsTest = test::ProgramFixture;

// A verdict on its way while a rescan empties the list answers a request of a list that is gone:
// it is dropped, and the row tells what the reader said of the file as it is now. The reader
// here answers each request with its number, once the test lets it.
TEST_F(FoundDetailsTest, AVerdictThatArrivesAfterARescanIsDropped) {
    QTemporaryDir folder;
    const QString go = folder.filePath(QStringLiteral("go"));
    const QByteArray answering =
        "import os, time\n"
        "pending, answered = b'', 0\n"
        "while chunk := os.read(0, 4096):\n"
        "    pending += chunk\n"
        "    while b'\\0' in pending:\n"
        "        pending = pending.split(b'\\0', 1)[1]\n"
        "        answered += 1\n"
        "        while not os.path.exists('" +
        go.toLocal8Bit() +
        "'):\n"
        "            time.sleep(0.01)\n"
        "        os.write(1, b'F\\x00Answer %d\\x00Regular\\x000\\x00' % answered)";
    const QString font = drive.addFont(QStringLiteral("font.ttf"), "first");
    app::Environment environment{drive.drives(), drive.appPath()};
    environment.fontReader = standInReader(folder, answering, "/usr/bin/python3");
    app::FrmKestrix& w = start(std::move(environment));
    scan(w);
    emit w.lstFonts->rowToolTipAsked(1);  // the first request, which waits

    test::writeFile(font, "second and longer");
    answers.answer(QMessageBox::Yes);
    scan(w);
    emit w.lstFonts->rowToolTipAsked(1);  // the second, queued behind it
    test::writeFile(go, "");

    const QString answer = QStringLiteral("Family: Answer 2");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return w.lstFonts->rowDescription(1).contains(answer); }, 10000))
        << w.lstFonts->rowDescription(1).toStdString();
    EXPECT_TRUE(w.lstFonts->rowDescription(1).contains(QStringLiteral("Size: 17 bytes")));
}

}  // namespace
}  // namespace kestrix::details
