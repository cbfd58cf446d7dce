#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kestrix::details {

// The sample line drawn with a font file's own glyphs at each sample size, as a preview shows
// it: shaped by HarfBuzz with the glyphs and advances the font engine (QRawFont) finds in the
// file, and drawn by that engine, `pixelRatio` device pixels to a logical one. Each size is an
// alpha mask as wide as the sample column, the line broken between words where it would not fit.
// Empty when the engine cannot load the font.
[[nodiscard]] QList<QImage> drawSamples(const QByteArray& font, double pixelRatio);

}  // namespace kestrix::details
