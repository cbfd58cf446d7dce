#pragma once

#include "ui/events.h"

#include <QLocale>

namespace kestrix::test {

// Puts back, when a test ends, the program-wide state tests change: the default locale and the
// mark that the program is ending. Declared first in a fixture, so it is restored last.
class ProgramState {
public:
    ProgramState() = default;
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;
    ~ProgramState() {
        QLocale::setDefault(locale_);
        if (!ending_) {
            ui::clearProgramEnding();
        }
    }

private:
    QLocale locale_;
    bool ending_ = ui::programEnding();
};

}  // namespace kestrix::test
