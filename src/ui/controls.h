#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kestrix::ui {

// The controls the window designs are built from. Each carries the name the code knows it by,
// so tests and assistive technology find it by that name.

[[nodiscard]] QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption);

[[nodiscard]] QPushButton* button(QWidget* parent, const QString& name, const QString& caption);

// A label that breaks its caption at word boundaries within its place. Plain text: it may show
// text from outside.
[[nodiscard]] QLabel* wrappingLabel(QWidget* parent, const QString& name, const QString& caption);

}  // namespace kestrix::ui
