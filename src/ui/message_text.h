#pragma once

#include <QString>

class QFontMetrics;

namespace kestrix::ui {

// A message text whose paths do not break across lines: a path that fits in `lineWidth` is
// kept whole, a longer one may break only after a folder separator (or, within a name that is
// itself too long, anywhere). Paths are the words that hold a "\" or a "/". Their letters stay
// as they are; only invisible joining and breaking marks are added.
[[nodiscard]] QString keepPathsWhole(const QString& text, const QFontMetrics& metrics,
                                     int lineWidth);

}  // namespace kestrix::ui
