#pragma once

#include "details/font_verdict.h"

#include <array>

namespace kestrix::details {

// The line a preview shows, and the sizes in points it shows it at.
inline const QString sampleText =
    QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
inline constexpr std::array samplePointSizes{12, 18, 28};

// Reads a font file whole, closes it at once, and has the font engine (QRawFont, FreeType
// underneath) read the names from those bytes. The verdict keeps the bytes. Needs a
// QGuiApplication; runs in the font reader, where a file that crashes or hangs the engine can
// take nothing else with it.
[[nodiscard]] FontVerdict readFontFile(const QString& hostPath);

}  // namespace kestrix::details
