#pragma once

#include <QString>
#include <array>

namespace kestrix::details {

// The line a preview shows, the sizes in points it shows it at, and the width in logical pixels
// of the column it is laid out in, broken between words where it would not fit.
inline const QString sampleText =
    QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
inline constexpr std::array samplePointSizes{12, 18, 28};
inline constexpr int sampleWidth = 520;

// The pixel size of a point size on a 96 dpi screen, as the preview shows it.
[[nodiscard]] constexpr double pixelSize(int points) {
    return points * 96.0 / 72.0;
}

}  // namespace kestrix::details
