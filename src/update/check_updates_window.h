#pragma once

#include "about/browser_launch.h"
#include "ui/check_updates_window_design.h"
#include "update/reply_check.h"
#include "update/socket_client.h"

#include <functional>

namespace kestrix::update {

// frmCheckUpdates: one check per press of Connect, driven by the events of w1. The window's
// controls carry all state between events.
class FrmCheckUpdates : public ui::CheckUpdatesWindowDesign {
    Q_OBJECT
public:
    // server: where the version page is asked for. showMainWindow: the hand-back of the
    // screen. versionCaption: reads the About window's lbltxtVersion, loading it if need be.
    FrmCheckUpdates(Endpoint server, std::function<void()> showMainWindow,
                    std::function<QString()> versionCaption, about::BrowserLaunch browser);

    void cmdCheck_Click();
    void w1_Connect();
    void w1_DataArrival(qint64 bytesTotal);
    void w1_Close();
    void w1_Error(int number, const QString& description);
    void lblDownload_Click();
    void Form_Unload() override;

    SocketClient w1;

private:
    void focusWhereTheUserGoesOn();

    Endpoint server_;
    std::function<void()> showMainWindow_;
    std::function<QString()> versionCaption_;
    about::BrowserLaunch browser_;
};

}  // namespace kestrix::update
