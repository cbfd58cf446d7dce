#pragma once

#include "ui/caption_label.h"
#include "ui/form.h"

#include <QGroupBox>
#include <QLabel>

namespace kestrix::ui {

// frmAbout's controls with their design values. No caption changes while the window lives.
class AboutWindowDesign : public Form {
    Q_OBJECT
public:
    AboutWindowDesign();

    QGroupBox* frmProgramInfo;
    CaptionLabel* lbltxtProgrammedBy;
    CaptionLabel* lbltxtLanguage;
    CaptionLabel* lbltxtCompliledOn;
    CaptionLabel* lbltxtVersion;
    QGroupBox* frmContact;
    CaptionLabel* lbltxtEmail;
    QLabel* Label1;
    QGroupBox* Frame1;
    QLabel* lblAbout;
};

}  // namespace kestrix::ui
