#include "about/browser_launch.h"

#include "ui/message_box.h"

namespace kestrix::about {

bool BrowserLaunch::open(QWidget* parent, const QString& address) const {
    if (start_(platform::browserCommandLine(address))) {
        return true;
    }
    ui::showFailure(parent, QStringLiteral("The web browser could not be started to open %1.\n"
                                           "You can open that address in a browser yourself.")
                                .arg(address));
    return false;
}

}  // namespace kestrix::about
