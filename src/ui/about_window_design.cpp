#include "ui/about_window_design.h"

#include "ui/controls.h"
#include "ui/twips.h"
#include "version.h"

namespace kestrix::ui {

namespace {

// A one-line label that sizes itself to its caption, within its frame.
CaptionLabel* line(QGroupBox* parent, const QString& name, const QString& caption, int left,
                   int top, int width) {
    auto* control = new CaptionLabel(parent, caption, Qt::AlignLeft);
    control->setObjectName(name);
    control->placeAt(left, top, width, 195, 0, parent->width());
    return control;
}

QLabel* wrapping(QGroupBox* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height) {
    QLabel* control = wrappingLabel(parent, name, caption);
    place(control, left, top, width, height);
    return control;
}

}  // namespace

AboutWindowDesign::AboutWindowDesign()
    : Form(QStringLiteral("Kestrix - About"), QSize(4215, 3135),
           QIcon(QStringLiteral(":/icons/about.xpm"))) {
    QWidget* client = clientArea();

    frmProgramInfo =
        frame(client, QStringLiteral("frmProgramInfo"), QStringLiteral("Program Information"));
    place(frmProgramInfo, 120, 120, 3975, 1095);
    lbltxtProgrammedBy = line(frmProgramInfo, QStringLiteral("lbltxtProgrammedBy"),
                              QStringLiteral("Programmed by: Kestrix developers"), 120, 240, 2385);
    lbltxtLanguage = line(frmProgramInfo, QStringLiteral("lbltxtLanguage"),
                          QStringLiteral("Language: C++ and Qt 6"), 120, 440, 3060);
    lbltxtCompliledOn =
        line(frmProgramInfo, QStringLiteral("lbltxtCompliledOn"),
             QStringLiteral("Compiled on: Sunday, April 30th, 2006"), 120, 630, 2775);
    lbltxtVersion =
        line(frmProgramInfo, QStringLiteral("lbltxtVersion"),
             QStringLiteral("Version: ") + QLatin1String(programVersion), 120, 825, 1020);

    frmContact = frame(client, QStringLiteral("frmContact"), QStringLiteral("Contact"));
    place(frmContact, 120, 1200, 3975, 1095);
    lbltxtEmail = line(frmContact, QStringLiteral("lbltxtEmail"),
                       QStringLiteral("Email: support@kestrix.org"), 120, 240, 2340);
    Label1 = wrapping(frmContact, QStringLiteral("Label1"),
                      QStringLiteral("* Please mention Kestrix in the subject of your email."), 120,
                      600, 3735, 375);

    Frame1 = frame(client, QStringLiteral("Frame1"), QString());
    place(Frame1, 120, 2280, 3975, 735);
    lblAbout =
        wrapping(Frame1, QStringLiteral("lblAbout"),
                 QStringLiteral("Thank you for using Kestrix! I hope you found this tool useful."),
                 120, 195, 3795, 555);
    closeOnEscape(*this);
}

}  // namespace kestrix::ui
