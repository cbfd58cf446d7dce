#pragma once

#include "app/kestrix_window.h"
#include "app/program.h"
#include "support/files.h"
#include "support/modal_answers.h"
#include "support/program_state.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QSet>
#include <QTest>

namespace kestrix::removal {

using test::contentOf;

inline const QString question =
    QStringLiteral("Are you sure you want to remove the selected fonts?");
inline const QStringList excessive = {QStringLiteral("Alpha.ttf"), QStringLiteral("Bravo.ttf"),
                                      QStringLiteral("Charlie.ttf"), QStringLiteral("Delta.ttf"),
                                      QStringLiteral("Echo.ttf")};

inline QString row(const QString& name) {
    return QStringLiteral("C:\\WINDOWS\\Fonts\\") + name;
}

// The program on a drive whose font folder holds five excessive fonts and a standard one.
class OptimizeTest : public testing::Test {
protected:
    OptimizeTest() {
        for (const auto& name : excessive) {
            drive_.addFont(name, name.toUtf8().repeated(1000));
        }
        drive_.addFont(QStringLiteral("ARIAL.TTF"), "standard");
    }

    void storeSettings(const QByteArray& bytes) const { test::writeFile(settingsFile(), bytes); }
    QString settingsFile() const { return drive_.settingsFile(); }

    app::FrmKestrix& start() {
        program_.start();
        return *program_.frmKestrix;
    }

    // Starts the program and runs a whole scan through its button.
    app::FrmKestrix& startAndScan() {
        app::FrmKestrix& w = start();
        w.cmdScan->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
        EXPECT_EQ(w.lstFonts->rowCount(), excessive.size());
        return w;
    }

    static int rowOf(const app::FrmKestrix& w, const QString& name) {
        for (int i = 1; i <= w.lstFonts->rowCount(); ++i) {
            if (w.lstFonts->rowText(i) == row(name)) {
                return i;
            }
        }
        return 0;
    }

    static void setChecked(app::FrmKestrix& w, const QString& name, bool checked) {
        const int i = rowOf(w, name);
        ASSERT_GT(i, 0) << name.toStdString();
        w.lstFonts->setChecked(i, checked);
    }

    bool hasOriginal(const QString& name) const {
        return contentOf(drive_.fontsFolder() + u'/' + name) == name.toUtf8().repeated(1000);
    }

    static void expectRunEnded(const app::FrmKestrix& w) {
        EXPECT_EQ(w.lstFonts->rowCount(), 0);
        EXPECT_FALSE(w.cmdRemove->isEnabled());
        EXPECT_TRUE(w.cmdScan->isEnabled());
        EXPECT_EQ(w.s1->panelText(2), QStringLiteral("Awaiting user commands."));
    }

    // Stand-ins for the system: every font counts as loaded once; what is unloaded and loaded
    // again is written down by name, and the files named in windowsOwned_ are Windows' own.
    app::Environment environment() {
        app::Environment environment{drive_.drives(), drive_.appPath()};
        const auto name = [](const QString& path) { return QFileInfo(path).fileName(); };
        environment.fileOwner = [=, this](const QString& path) {
            return windowsOwned_.contains(name(path)) ? platform::FileOwner::Windows
                                                      : platform::FileOwner::NotKnown;
        };
        environment.fontCalls = {[=, this](const QString& path) {
                                     unloaded_ << name(path);
                                     return unloaded_.count(name(path)) == 1;
                                 },
                                 [=, this](const QString& path) { loaded_ << name(path); }};
        return environment;
    }

    test::ProgramState state_;
    test::TempDrive drive_;
    QSet<QString> windowsOwned_;
    QStringList unloaded_;  // each name twice: the one load, then nothing left
    QStringList loaded_;
    app::Program program_{environment()};
    test::ModalAnswers answers_;
};

}  // namespace kestrix::removal
