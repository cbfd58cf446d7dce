// Optimize against names that only differ in letter case, which POSIX file systems hold.
#include "removal/optimize_fixture.h"

namespace kestrix::removal {
namespace {

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

}  // namespace
}  // namespace kestrix::removal
