#pragma once

#include <QString>
#include <QStringList>

class QFontMetrics;
class QMessageBox;

namespace kestrix::ui {

// The lines a message is shown in at `lineWidth` pixels. Lines break at the text's own line
// ends and at spaces only, so a path or an address stays whole where it fits on a line. One
// wider than a line breaks after a folder separator ("\" or "/"), each line as full as it can
// be; a name, or another word, wider than a line breaks where it must. The spaces at a break
// are not shown.
[[nodiscard]] QStringList wrapLines(const QString& text, const QFontMetrics& metrics,
                                    int lineWidth);

// Lays the box's text out in wrapLines() at `lineWidth`. The text itself stays exactly as it
// is, for assistive technology and the clipboard; only the way it is shown changes.
void keepWordsWhole(QMessageBox& box, int lineWidth);

}  // namespace kestrix::ui
