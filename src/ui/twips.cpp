#include "ui/twips.h"

#include <QWidget>

namespace kestrix::ui {

void place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twipsRect(left, top, width, height));
}

}  // namespace kestrix::ui
