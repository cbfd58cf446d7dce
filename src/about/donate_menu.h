#pragma once

#include "about/browser_launch.h"

#include <QString>

class QAction;
class QWidget;

namespace kestrix::about {

// The pages of the Donate menu: the maker's e-gold account and the service's sign-up page.
inline const QString donatePage = QStringLiteral("http://2384716.e-gold.com");
inline const QString getAnAccountPage =
    QStringLiteral("https://www.e-gold.com/e-gold.asp?cid=2384716");

// The Donate menu's items, cmdDonate and cmdGetanAccount of the main window.
class DonateMenu {
public:
    DonateMenu(QWidget* window, QAction* cmdDonate, QAction* cmdGetanAccount,
               BrowserLaunch browser);

    void cmdDonate_Click();
    void cmdGetanAccount_Click();

private:
    // The item stays disabled only while the browser is being started.
    void openPage(QAction* item, const QString& address);

    QWidget* window_;
    QAction* cmdDonate_;
    QAction* cmdGetanAccount_;
    BrowserLaunch browser_;
};

}  // namespace kestrix::about
