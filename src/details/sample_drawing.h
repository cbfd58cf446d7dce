#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kestrix::details {

// The widest sample drawn, in device pixels. Qt's raster engine fills some spans (those of
// glyphs far wider than their advance) through a buffer of this many pixels on the stack
// without splitting longer ones: a wider picture lets a font's glyphs write past it. A sample
// asked for at a larger ratio is drawn at the ratio that fits, and shown scaled.
inline constexpr int widestSample = 2048;

// The sample line drawn with a font file's own glyphs at each sample size, as a preview shows
// it: shaped by HarfBuzz with the glyphs and advances the font engine (QRawFont) finds in the
// file, and drawn by that engine, `pixelRatio` device pixels to a logical one (less where the
// sample would be wider than `widestSample`). Each size is an alpha mask as wide as the sample
// column, the line broken between words where it would not fit. Empty when the engine cannot
// load the font.
[[nodiscard]] QList<QImage> drawSamples(const QByteArray& font, double pixelRatio);

}  // namespace kestrix::details
