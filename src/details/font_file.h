#pragma once

#include "details/font_verdict.h"

namespace kestrix::details {

// How much more memory the font reader may take than it holds when it starts: room for the
// largest file, a copy of it, and the drawing of its sample.
inline constexpr qint64 readerMemory = 3 * largestFontFile;

// Reads a font file whole, closes it at once, and has the font engine (QRawFont, FreeType
// underneath) read its names and draw its sample, `pixelRatio` device pixels to a logical one,
// from those bytes. A file on which the engine fails while drawing fails here, in the reader,
// where it can take nothing else with it. Needs a QGuiApplication.
[[nodiscard]] FontVerdict readFontFile(const QString& hostPath, double pixelRatio);

}  // namespace kestrix::details
