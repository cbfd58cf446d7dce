#include "ui/controls.h"

namespace kestrix::ui {

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption) {
    auto* control = new QGroupBox(caption, parent);
    control->setObjectName(name);
    return control;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* control = new QPushButton(caption, parent);
    control->setObjectName(name);
    return control;
}

QLabel* wrappingLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* control = new QLabel(caption, parent);
    control->setObjectName(name);
    control->setTextFormat(Qt::PlainText);
    control->setWordWrap(true);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

}  // namespace kestrix::ui
