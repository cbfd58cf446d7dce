#include "app/program.h"

#include "app/kestrix_window.h"
#include "ui/events.h"

#include <QApplication>

namespace kestrix::app {

Program::Program(Environment environment)
    : frmKestrix([this] { return std::make_unique<FrmKestrix>(*this); }),
      frmAbout([this] { return std::make_unique<about::FrmAbout>(showMainWindow()); }),
      frmCheckUpdates([this] {
          return std::make_unique<update::FrmCheckUpdates>(
              environment_.updateServer, showMainWindow(),
              [this] { return frmAbout->lbltxtVersion->text(); },
              about::BrowserLaunch(environment_.startProgram));
      }),
      environment_(std::move(environment)) {
    ui::clearProgramEnding();
}

Program::~Program() = default;

void Program::start() {
    frmKestrix.show();
}

void Program::bringToFront() {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr && frmAbout.isLoaded() && frmAbout->isVisible()) {
        window = &*frmAbout;
    }
    if (window == nullptr && frmCheckUpdates.isLoaded() && frmCheckUpdates->isVisible()) {
        window = &*frmCheckUpdates;
    }
    if (window == nullptr) {
        window = &*frmKestrix;
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

std::function<void()> Program::showMainWindow() {
    return [this] { frmKestrix.show(); };
}

}  // namespace kestrix::app
