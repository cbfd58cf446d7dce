// Optimize against what a Wine prefix on a POSIX file system may hold: names that only differ in
// letter case, a font folder reached through a link, and one whose files cannot be deleted.
#include "platform/host_folders.h"
#include "removal/optimize_fixture.h"
#include "support/files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <iostream>

namespace kestrix::removal {
namespace {

// Makes a folder immutable for as long as it lives, where the file system and our rights allow:
// its files can still be written, but none can be deleted, not even by root.
struct ImmutableFolder {
    explicit ImmutableFolder(QString folder) : path(std::move(folder)) {}
    ~ImmutableFolder() {
        if (made) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
        }
    }
    const QString path;
    const bool made =
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
};

TEST_F(OptimizeTest, FontOverwrittenButNotDeletedStaysUnloadedAndIsNamed) {
    drive_.addUserFont(QStringLiteral("Kept.ttf"), "a font of the user's own");
    app::FrmKestrix& w = start();
    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
    const QString kept = platform::userFontFolder() + QStringLiteral("\\Kept.ttf");
    ASSERT_EQ(w.lstFonts->rowText(1), kept);
    w.cmdUnselectAll->trigger();
    w.lstFonts->setChecked(1, true);
    const ImmutableFolder frozen(drive_.userFontsFolder());
    if (!frozen.made) {
        std::cout << "not made here, a folder whose files cannot be deleted (chattr +i)\n";
        return;
    }
    answers_.answer(QMessageBox::Yes);
    answers_.answer(QMessageBox::Ok);
    w.cmdRemove->click();

    EXPECT_EQ(contentOf(drive_.userFontsFolder() + QStringLiteral("/Kept.ttf")),
              QByteArray(4096, ' '));
    EXPECT_EQ(unloaded_, QStringList({"Kept.ttf", "Kept.ttf"}));
    EXPECT_EQ(loaded_, QStringList()) << "its content is gone";
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    ASSERT_EQ(answers_.shown().size(), 2U);
    EXPECT_EQ(answers_.shown().back().text,
              QStringLiteral("These fonts were not removed:\n\n") + kept +
                  QStringLiteral(": overwritten but could not be deleted: access denied"));
}

TEST_F(OptimizeTest, NameSpelledOnlyInAnotherCaseIsNeverTakenForTheRowsFile) {
    drive_.addFont(QStringLiteral("twin.ttf"), "lower");
    drive_.addFont(QStringLiteral("Twin.ttf"), "mixed");
    app::FrmKestrix& w = start();
    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
    w.cmdUnselectAll->trigger();
    setChecked(w, QStringLiteral("Twin.ttf"), true);
    answers_.answer(QMessageBox::Yes);
    answers_.answer(QMessageBox::Ok);
    w.cmdRemove->click();

    EXPECT_EQ(contentOf(drive_.fontsFolder() + QStringLiteral("/twin.ttf")), "lower");
    EXPECT_EQ(contentOf(drive_.fontsFolder() + QStringLiteral("/Twin.ttf")), "mixed");
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("0"));
    ASSERT_EQ(answers_.shown().size(), 2U);
    EXPECT_EQ(answers_.shown().back().text, QStringLiteral("These fonts were not removed:\n\n") +
                                                row("Twin.ttf") +
                                                QStringLiteral(": another file is spelled in "
                                                               "lower case"));
}

TEST_F(OptimizeTest, FontFolderReachedThroughALinkInThePrefixIsTheOneOptimizeRemovesFrom) {
    // windows/Fonts is a link to a folder beside drive_c, in the same prefix.
    const QString fonts = drive_.fontsFolder();
    const QString shared = drive_.driveC() + QStringLiteral("/../shared-fonts");
    ASSERT_TRUE(QDir().rename(fonts, shared));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../shared-fonts"), fonts));
    app::FrmKestrix& w = startAndScan();
    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();
    for (const auto& name : excessive) {
        EXPECT_FALSE(QFileInfo::exists(shared + u'/' + name)) << name.toStdString();
    }
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("5"));
    expectRunEnded(w);

    // A link that leads out of the prefix is not followed into removing what lies there.
    const QTemporaryDir outside;
    ASSERT_TRUE(QFile::remove(fonts));
    ASSERT_TRUE(QFile::link(outside.path(), fonts));
    test::writeFile(outside.filePath(QStringLiteral("Alpha.ttf")), "not the prefix's");
    w.cmdScan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
    answers_.answer(QMessageBox::Yes);
    answers_.answer(QMessageBox::Ok);
    w.cmdRemove->click();
    EXPECT_EQ(contentOf(outside.filePath(QStringLiteral("Alpha.ttf"))), "not the prefix's");
    ASSERT_EQ(answers_.shown().size(), 3U);
    EXPECT_EQ(answers_.shown().back().text,
              QStringLiteral("These fonts were not removed:\n\n") + row("Alpha.ttf") +
                  QStringLiteral(": the font folder cannot be opened: it leads out of the Wine "
                                 "prefix through a link"));
    EXPECT_EQ(answers_.unexpected(), 0);
}

}  // namespace
}  // namespace kestrix::removal
