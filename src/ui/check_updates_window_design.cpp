#include "ui/check_updates_window_design.h"

#include "ui/twips.h"

namespace kestrix::ui {

CheckUpdatesWindowDesign::CheckUpdatesWindowDesign()
    : Form(QStringLiteral("Kestrix - Check for updates..."), QSize(3615, 1695),
           QIcon(QStringLiteral(":/icons/update.xpm"))) {
    Frame1 = new QGroupBox(QStringLiteral("Status:"), clientArea());
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 120, 120, 3375, 1455);

    // The status may quote the server's reply, so it is never read as markup.
    lblStatus = new QLabel(QStringLiteral("Awaiting user commands..."), Frame1);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setWordWrap(true);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblStatus, 120, 240, 3135, 615);

    lblDownload = new LinkLabel(Frame1, QStringLiteral("Download updates."), linkBlue);
    lblDownload->setObjectName(QStringLiteral("lblDownload"));
    lblDownload->placeAt(120, 1050, 1395, 195, 0, Frame1->width());
    lblDownload->hide();

    cmdCheck = new QPushButton(QStringLiteral("Connect"), Frame1);
    cmdCheck->setObjectName(QStringLiteral("cmdCheck"));
    place(cmdCheck, 2160, 960, 1095, 375);
}

}  // namespace kestrix::ui
