#pragma once

#include "ui/form.h"
#include "ui/link_label.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kestrix::ui {

// frmCheckUpdates' controls with their design values. The socket w1 belongs to the logic.
class CheckUpdatesWindowDesign : public Form {
    Q_OBJECT
public:
    CheckUpdatesWindowDesign();

    QGroupBox* Frame1;
    QLabel* lblStatus;
    LinkLabel* lblDownload;
    QPushButton* cmdCheck;
};

// The link's colours: pure blue until it is used, then dark grey.
inline const QColor linkBlue{0, 0, 255};
inline const QColor linkUsedGrey{64, 64, 64};

}  // namespace kestrix::ui
