#include "settings/lifetime_counter.h"
#include "platform/file_lock.h"
#include "settings/profile_file.h"
#include "support/event_loop_gaps.h"
#include "support/files.h"

#include "support/modal_answers.h"

#include <gtest/gtest.h>
#if defined(__linux__) && defined(__x86_64__)
#define KESTRIX_FAILS_FLUSHES
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>
#endif
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace kestrix::settings {
namespace {

using ui::LooseValue;

#ifdef KESTRIX_FAILS_FLUSHES
// From here on, for good, the system fails every flush of a folder, as a failing disk would;
// files are still flushed. Only for a process of its own: nothing can undo it.
void failFolderFlushes() {
    struct sigaction action {};
    action.sa_flags = SA_SIGINFO;
    // Each flush is trapped here and done, or failed, in the program's place.
    action.sa_sigaction = [](int, siginfo_t*, void* context) {
        auto& registers = static_cast<ucontext_t*>(context)->uc_mcontext.gregs;
        const int savedErrno = errno;
        const int fd = static_cast<int>(registers[REG_RDI]);
        struct stat what {};
        const bool folder = ::fstat(fd, &what) == 0 && S_ISDIR(what.st_mode);
        registers[REG_RAX] = folder ? -EIO : (::fdatasync(fd) == 0 ? 0 : -errno);
        errno = savedErrno;
    };
    ASSERT_EQ(::sigaction(SIGSYS, &action, nullptr), 0);
    sock_filter trapFsync[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(trapFsync)), trapFsync};
    ASSERT_EQ(::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0), 0);
    ASSERT_EQ(::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program), 0);
}
#endif

class LifetimeCounterTest : public testing::Test {
protected:
    LifetimeCounterTest()
        : window_(QStringList(), platform::DriveMap::withDriveC(dir_.path())),
          counter_(window_, TotalDeleted, settingsFile(dir_.path())) {}

    QString file() const { return dir_.filePath(QStringLiteral("Info.ini")); }
    QString label() const { return window_.lblttl->text(); }

    void store(const QByteArray& bytes) const { test::writeFile(file(), bytes); }
    QByteArray stored() const { return test::contentOf(file()); }

    QTemporaryDir dir_;
    ui::KestrixWindowDesign window_;
    LooseValue TotalDeleted;
    LifetimeCounter counter_;
};

TEST_F(LifetimeCounterTest, FirstStartCreatesTheEntry) {
    counter_.load();
    EXPECT_EQ(label(), QStringLiteral("0"));
    EXPECT_EQ(TotalDeleted, LooseValue::text(QStringLiteral("0")));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=0\r\n"));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("1"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=1\r\n"));
}

TEST_F(LifetimeCounterTest, StoredCountIsShownAsWrittenAndRaisedAsANumber) {
    store("[KESTRIX SETTINGS]\r\ntotal=12\r\n");
    counter_.load();
    EXPECT_EQ(label(), QStringLiteral("12"));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("13"));
    EXPECT_EQ(stored(), QByteArray("[KESTRIX SETTINGS]\r\ntotal=13\r\n"));

    store("[Kestrix Settings]\r\nTOTAL=007\r\n");
    counter_.load();
    EXPECT_EQ(label(), QStringLiteral("007"));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("8"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=8\r\n"));
}

TEST_F(LifetimeCounterTest, EmptyValueIsRewrittenAsZero) {
    store("[Kestrix Settings]\r\nOther=x\r\nTOTAL=\r\n");
    counter_.load();
    EXPECT_EQ(label(), QStringLiteral("0"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nOther=x\r\nTOTAL=0\r\n"));
}

TEST_F(LifetimeCounterTest, ValuesThatAreNoCountStartFromZero) {
    const QByteArray digits(800, '9');
    store("[Kestrix Settings]\r\nTOTAL=" + digits + "\r\n");
    counter_.load();
    EXPECT_EQ(label(), QString::fromLatin1(digits.left(749)));
    counter_.raise();  // far beyond 64 bits
    EXPECT_EQ(label(), QStringLiteral("1"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=1\r\n"));

    store("[Kestrix Settings]\r\nTOTAL=many\r\n");
    counter_.load();
    EXPECT_EQ(label(), QStringLiteral("many"));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("1"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=1\r\n"));
}

TEST_F(LifetimeCounterTest, CountsUpTo64Bits) {
    store("[Kestrix Settings]\r\nTOTAL=9223372036854775806\r\n");
    counter_.load();
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("9223372036854775807"));
    counter_.raise();  // the largest count stays rather than wrapping
    EXPECT_EQ(label(), QStringLiteral("9223372036854775807"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=9223372036854775807\r\n"));
}

TEST_F(LifetimeCounterTest, TwoCountersOnOneFileLoseNoDeletion) {
    store("[Kestrix Settings]\r\nTOTAL=10\r\n");
    ui::KestrixWindowDesign otherWindow(QStringList(), platform::DriveMap::withDriveC(dir_.path()));
    LooseValue otherTotal;
    LifetimeCounter other(otherWindow, otherTotal, file());
    counter_.load();
    other.load();
    for (int deleted = 0; deleted < 20; ++deleted) {
        counter_.raise();
        other.raise();
    }
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=50\r\n"));
    EXPECT_EQ(label(), QStringLiteral("49"));
    EXPECT_EQ(otherWindow.lblttl->text(), QStringLiteral("50"));

    // Another Kestrix holds the lock through a run of five deletions, then stores its count: the
    // window counts on without waiting, and the file takes all five once the lock is free.
    QSemaphore locked;
    QSemaphore runDone;
    std::thread writer([&] {
        const auto lock = platform::FileLock::acquire(file(), std::chrono::seconds(5));
        locked.release();
        ASSERT_TRUE(std::holds_alternative<platform::FileLock>(lock));
        runDone.acquire();
        EXPECT_TRUE(WriteSetting(QStringLiteral("Kestrix Settings"), QStringLiteral("Total"),
                                 QStringLiteral("100"), file()));
    });
    locked.acquire();
    {
        const test::EventLoopGaps gaps;
        for (int deleted = 0; deleted < 5; ++deleted) {
            counter_.raise();
            QEventLoop pace;
            QTimer::singleShot(20, &pace, &QEventLoop::quit);
            pace.exec();
        }
        // A wait for the lock took seconds; a busy machine's hiccups take far less than this.
        EXPECT_LT(gaps.longest(), 250) << "the window waited for the lock";
    }
    EXPECT_EQ(label(), QStringLiteral("54"));
    runDone.release();
    writer.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return label() == QStringLiteral("105"); }, 5000));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=105\r\n"));
}

TEST_F(LifetimeCounterTest, CountsOnWhileTheFileRefusesAndItGetsEveryDeletionLater) {
    store("[Kestrix Settings]\r\nTOTAL=12\r\n");
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto setWritable = [&](bool writable) {
        ASSERT_TRUE(
            QFile::setPermissions(file(), writable ? readOnly | QFile::WriteOwner : readOnly));
    };
    counter_.load();
    test::ModalAnswers answers;
    ASSERT_NO_FATAL_FAILURE(setWritable(false));
    for (int deleted = 0; deleted < 3; ++deleted) {
        counter_.raise();
    }
    EXPECT_EQ(label(), QStringLiteral("15"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=12\r\n"));
    ASSERT_NO_FATAL_FAILURE(setWritable(true));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("16"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=16\r\n"));

    // A reset the file did not take still counts from 0, also once the file takes it.
    ASSERT_NO_FATAL_FAILURE(setWritable(false));
    answers.answer(QMessageBox::Yes);
    counter_.mnuReset_Click();
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("1"));
    ASSERT_NO_FATAL_FAILURE(setWritable(true));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("2"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=2\r\n"));
    EXPECT_EQ(answers.shown().size(), 2U) << "one question, one message however often it failed";

    // What the file could not take before the count went, it takes then.
    ASSERT_NO_FATAL_FAILURE(setWritable(false));
    {
        ui::KestrixWindowDesign otherWindow(QStringList(),
                                            platform::DriveMap::withDriveC(dir_.path()));
        LooseValue otherTotal;
        LifetimeCounter other(otherWindow, otherTotal, file());
        other.load();
        other.raise();
        ASSERT_NO_FATAL_FAILURE(setWritable(true));
    }
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=3\r\n"));
}

TEST_F(LifetimeCounterTest, UnwritableFolderShowsTheCountAsItStands) {
    QTemporaryDir elsewhere;
    const QString gone = elsewhere.filePath(QStringLiteral("gone"));
    LifetimeCounter counter(window_, TotalDeleted, settingsFile(gone));
    test::ModalAnswers answers;
    counter.load();
    EXPECT_EQ(label(), QStringLiteral("0"));
    EXPECT_EQ(TotalDeleted, LooseValue::integer(0));
    counter.raise();
    EXPECT_EQ(label(), QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(gone));
    // Told once, naming the file, however often the write fails.
    ASSERT_EQ(answers.shown().size(), 1U);
    EXPECT_TRUE(answers.shown().front().text.contains(QDir::toNativeSeparators(settingsFile(gone)) +
                                                      u'\n'));
}

TEST_F(LifetimeCounterTest, CountSavedWhoseFolderCannotBeFlushedIsToldSo) {
#ifndef KESTRIX_FAILS_FLUSHES
    GTEST_SKIP() << "the system is made to fail a flush on Linux for x86-64 only";
#else
    store("[Kestrix Settings]\r\nTOTAL=41\r\n");
    counter_.load();
    // In a process of its own, which ends with the number of what went wrong.
    EXPECT_EXIT(
        {
            failFolderFlushes();
            test::ModalAnswers answers;
            answers.answer(QMessageBox::Ok);
            counter_.raise();
            counter_.raise();
            const QString expected =
                QStringLiteral("Kestrix saved its count of deleted fonts in\n") +
                QDir::toNativeSeparators(file()) +
                QStringLiteral(
                    "\nbut it may not outlive a crash of the system (its folder could "
                    "not be flushed to the disk: ") +
                QString::fromLocal8Bit(std::strerror(EIO)) + QStringLiteral(").");
            std::string wrong;
            if (stored() != "[Kestrix Settings]\r\nTOTAL=43\r\n" || label() != "43") {
                wrong += "count: " + label().toStdString() + ", stored: " + stored().toStdString();
            }
            for (const QString& text : answers.texts()) {
                wrong += text == expected ? "" : "\ntold: " + text.toStdString();
            }
            if (answers.shown().size() != 1) {
                wrong += "\ntold " + std::to_string(answers.shown().size()) + " times";
            }
            std::fputs(wrong.c_str(), stderr);
            std::fflush(stderr);
            ::_exit(wrong.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
#endif
}

TEST_F(LifetimeCounterTest, ResetAsksNamingTheFileAndOnlyYesResets) {
    store("[Kestrix Settings]\r\nTOTAL=41\r\n");
    counter_.load();
    test::ModalAnswers answers;
    answers.answer(QMessageBox::No);
    counter_.mnuReset_Click();
    EXPECT_EQ(label(), QStringLiteral("41"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=41\r\n"));

    answers.answer(QMessageBox::Yes);
    counter_.mnuReset_Click();
    EXPECT_EQ(label(), QStringLiteral("0"));
    EXPECT_EQ(TotalDeleted, LooseValue::integer(0));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=0\r\n"));
    counter_.raise();
    EXPECT_EQ(label(), QStringLiteral("1"));

    ASSERT_EQ(answers.shown().size(), 2U);
    EXPECT_EQ(answers.unexpected(), 0);
    const QString prompt =
        QStringLiteral("Are you sure you would like to reset your statistics?\r\n(") +
        QDir::toNativeSeparators(dir_.path() + QStringLiteral("/Info.ini")) + u')';
    for (const auto& box : answers.shown()) {
        EXPECT_EQ(box.text, prompt);
        EXPECT_EQ(box.title, QString());
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.defaultButton, QMessageBox::Yes);
        EXPECT_EQ(box.format, Qt::PlainText);
    }
}

TEST_F(LifetimeCounterTest, ResetWithoutAFileCreatesIt) {
    test::ModalAnswers answers;
    answers.answer(QMessageBox::Yes);
    counter_.mnuReset_Click();
    EXPECT_EQ(label(), QStringLiteral("0"));
    EXPECT_EQ(stored(), QByteArray("[Kestrix Settings]\r\nTOTAL=0\r\n"));
}

}  // namespace
}  // namespace kestrix::settings
