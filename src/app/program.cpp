#include "app/program.h"

#include "app/kestrix_window.h"
#include "ui/events.h"

namespace kestrix::app {

Program::Program(Environment environment)
    : frmKestrix([this] { return std::make_unique<FrmKestrix>(*this); }),
      environment_(std::move(environment)) {
    ui::clearProgramEnding();
}

Program::~Program() = default;

void Program::start() {
    frmKestrix.show();
}

}  // namespace kestrix::app
