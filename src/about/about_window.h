#pragma once

#include "ui/about_window_design.h"

#include <functional>

namespace kestrix::about {

// frmAbout: fixed texts, and the hand-back of the screen when it closes.
class FrmAbout : public ui::AboutWindowDesign {
    Q_OBJECT
public:
    // showMainWindow: makes the main window visible again.
    explicit FrmAbout(std::function<void()> showMainWindow);

    void Form_Unload() override;

private:
    std::function<void()> showMainWindow_;
};

}  // namespace kestrix::about
