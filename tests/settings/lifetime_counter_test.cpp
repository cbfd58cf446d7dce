#include "settings/lifetime_counter.h"
#include "support/files.h"

#include "support/modal_answers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace kestrix::settings {
namespace {

using ui::LooseValue;

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
