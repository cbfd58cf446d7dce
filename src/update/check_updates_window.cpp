#include "update/check_updates_window.h"

namespace kestrix::update {

FrmCheckUpdates::FrmCheckUpdates(Endpoint server, std::function<void()> showMainWindow,
                                 std::function<QString()> versionCaption,
                                 about::BrowserLaunch browser)
    : server_(std::move(server)),
      showMainWindow_(std::move(showMainWindow)),
      versionCaption_(std::move(versionCaption)),
      browser_(std::move(browser)) {
    connect(cmdCheck, &QPushButton::clicked, this, &FrmCheckUpdates::cmdCheck_Click);
    connect(lblDownload, &ui::LinkLabel::clicked, this, &FrmCheckUpdates::lblDownload_Click);
    connect(&w1, &SocketClient::ConnectEvent, this, &FrmCheckUpdates::w1_Connect);
    connect(&w1, &SocketClient::DataArrivalEvent, this, &FrmCheckUpdates::w1_DataArrival);
    connect(&w1, &SocketClient::CloseEvent, this, &FrmCheckUpdates::w1_Close);
    connect(&w1, &SocketClient::ErrorEvent, this, &FrmCheckUpdates::w1_Error);
}

void FrmCheckUpdates::cmdCheck_Click() {
    cmdCheck->setEnabled(false);
    w1.Close();  // drops a connection left over from an earlier check
    w1.Connect(server_.host, server_.port);
    lblStatus->setText(QStringLiteral("Connecting to server..."));
    focusWhereTheUserGoesOn();
}

void FrmCheckUpdates::w1_Connect() {
    lblStatus->setText(QStringLiteral("Connection established!"));
    w1.SendData(QString::fromLatin1(versionRequest(server_.host)));
    lblStatus->setText(QStringLiteral("Checking for updates..."));
}

void FrmCheckUpdates::w1_DataArrival(qint64 /*bytesTotal*/) {
    const std::optional<QString> latest = latestVersion(w1.GetData());
    if (!latest) {
        return;
    }
    if (ownVersion(versionCaption_()) != *latest) {
        lblStatus->setText(
            QStringLiteral("Please download the latest version of Kestrix, Version: ") + *latest);
        lblDownload->show();
    } else {
        lblStatus->setText(
            QStringLiteral("You are running the latest version of Kestrix, Version: ") + *latest);
    }
    w1.Close();
    focusWhereTheUserGoesOn();
}

void FrmCheckUpdates::w1_Close() {
    cmdCheck->setEnabled(true);
    focusWhereTheUserGoesOn();
}

void FrmCheckUpdates::w1_Error(int number, const QString& description) {
    lblStatus->setText(QStringLiteral("Error %1. %2. Please try again later.")
                           .arg(QString::number(number), description));
    cmdCheck->setEnabled(true);
    focusWhereTheUserGoesOn();
}

void FrmCheckUpdates::lblDownload_Click() {
    lblDownload->setForeColor(ui::linkUsedGrey);
    lblDownload->setEnabled(false);
    focusWhereTheUserGoesOn();
    browser_.open(this, downloadAddress(server_));
}

// The link when it is offered, else Connect when it can be pressed, else the status itself, so
// the keyboard is never left on nothing and a screen reader reads what changed.
void FrmCheckUpdates::focusWhereTheUserGoesOn() {
    if (lblDownload->isVisibleTo(this) && lblDownload->isEnabled()) {
        lblDownload->setFocus();
    } else if (cmdCheck->isEnabled()) {
        cmdCheck->setFocus();
    } else {
        lblStatus->setFocus();
    }
}

void FrmCheckUpdates::Form_Unload() {
    showMainWindow_();
    w1.Close();
}

}  // namespace kestrix::update
