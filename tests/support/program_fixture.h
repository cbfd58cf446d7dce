#pragma once

#include "app/kestrix_window.h"
#include "app/program.h"
#include "support/modal_answers.h"
#include "support/program_state.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLocale>
#include <QTest>
#include <memory>

namespace kestrix::test {

// A started program on a temporary drive, with a person answering its message boxes.
class ProgramFixture : public testing::Test {
protected:
    ProgramFixture() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    ~ProgramFixture() override {
        EXPECT_TRUE(answers.allAnswered()) << "a question the test meant to answer never came";
        EXPECT_EQ(answers.unexpected(), 0) << "a message box came that the test did not expect";
        for (const auto& box : answers.shown()) {
            EXPECT_TRUE(box.readable)
                << "assistive technology cannot read " << box.text.toStdString();
            EXPECT_TRUE(box.inSight) << "beyond the screen: " << box.text.toStdString();
        }
        program_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    app::FrmKestrix& start() {
        app::Environment environment{drive.drives(), drive.appPath()};
        environment.userConfigFolder = drive.userConfigFolder();
        return start(std::move(environment));
    }

    app::FrmKestrix& start(app::Environment environment) {
        program_ = std::make_unique<app::Program>(std::move(environment));
        program_->start();
        return *program_->frmKestrix;
    }

    [[nodiscard]] app::Program& program() { return *program_; }
    // Ends the program, so that the next start() is a restart.
    void stop() {
        program_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Clicks Scan and waits until the scan has finished.
    void scan(app::FrmKestrix& window) {
        window.cmdScan->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.tmrScan->isActive(); }, 60'000));
    }

    [[nodiscard]] static QStringList rows(const app::FrmKestrix& window) {
        QStringList texts;
        for (int row = 1; row <= window.lstFonts->rowCount(); ++row) {
            texts << window.lstFonts->rowText(row);
        }
        return texts;
    }

private:
    ProgramState state_;

protected:
    TempDrive drive;
    ModalAnswers answers;

private:
    std::unique_ptr<app::Program> program_;
};

}  // namespace kestrix::test
