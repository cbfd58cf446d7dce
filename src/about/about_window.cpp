#include "about/about_window.h"

namespace kestrix::about {

FrmAbout::FrmAbout(std::function<void()> showMainWindow)
    : showMainWindow_(std::move(showMainWindow)) {}

void FrmAbout::Form_Unload() {
    showMainWindow_();
}

}  // namespace kestrix::about
