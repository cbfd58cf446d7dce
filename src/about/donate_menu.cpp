#include "about/donate_menu.h"

#include <QAction>

namespace kestrix::about {

DonateMenu::DonateMenu(QWidget* window, QAction* cmdDonate, QAction* cmdGetanAccount,
                       BrowserLaunch browser)
    : window_(window),
      cmdDonate_(cmdDonate),
      cmdGetanAccount_(cmdGetanAccount),
      browser_(std::move(browser)) {}

void DonateMenu::cmdDonate_Click() {
    openPage(cmdDonate_, donatePage);
}

void DonateMenu::cmdGetanAccount_Click() {
    openPage(cmdGetanAccount_, getAnAccountPage);
}

void DonateMenu::openPage(QAction* item, const QString& address) {
    item->setEnabled(false);
    browser_.open(window_, address);
    item->setEnabled(true);
}

}  // namespace kestrix::about
