#pragma once

#include <QString>

class QWidget;

namespace kestrix::ui {

// The Yes/No question: no icon, an empty title, Yes the default. Only Yes goes on.
[[nodiscard]] bool askYesNo(QWidget* parent, const QString& prompt);

// Tells the user that something could not be done. Shown as plain text, since it may quote
// file names or other text from outside.
void showFailure(QWidget* parent, const QString& text);

}  // namespace kestrix::ui
