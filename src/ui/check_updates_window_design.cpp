#include "ui/check_updates_window_design.h"

#include "ui/controls.h"
#include "ui/twips.h"

namespace kestrix::ui {

CheckUpdatesWindowDesign::CheckUpdatesWindowDesign()
    : Form(QStringLiteral("Kestrix - Check for updates..."), QSize(3615, 1695),
           QIcon(QStringLiteral(":/icons/update.xpm"))) {
    Frame1 = frame(clientArea(), QStringLiteral("Frame1"), QStringLiteral("Status:"));
    place(Frame1, 120, 120, 3375, 1455);

    // The status may quote the server's reply, so it is never read as markup.
    lblStatus = wrappingLabel(Frame1, QStringLiteral("lblStatus"),
                              QStringLiteral("Awaiting user commands..."));
    place(lblStatus, 120, 240, 3135, 615);
    // Reachable from the keyboard, so a screen reader can be taken back to the verdict.
    lblStatus->setFocusPolicy(Qt::TabFocus);

    lblDownload = new LinkLabel(Frame1, QStringLiteral("Download updates."), linkBlue);
    lblDownload->setObjectName(QStringLiteral("lblDownload"));
    lblDownload->placeAt(120, 1050, 1395, 195, 0, Frame1->width());
    lblDownload->hide();

    cmdCheck = button(Frame1, QStringLiteral("cmdCheck"), QStringLiteral("Connect"));
    place(cmdCheck, 2160, 960, 1095, 375);
    cmdCheck->setFocus();
    closeOnEscape(*this);
}

}  // namespace kestrix::ui
