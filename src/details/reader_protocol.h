#pragma once

#include "details/font_verdict.h"

#include <optional>

namespace kestrix::details {

// How the program and the font reader talk over the reader's standard input and output.
// A request is one byte ('N' for the names alone, nothing drawn; 'S' for the names and the
// samples), the device pixel ratio the samples are drawn for, a blank and a host path in UTF-8,
// ended by a NUL. A verdict is its kind ('F' font, 'X' not a font), two texts (family and style, or
// the reason and nothing) and the number of samples, each ended by a NUL; then each sample: its
// width and height in pixels, each ended by a NUL, and its alpha values row by row, a byte a pixel.

struct ReadRequest {
    QString hostPath;
    bool withSamples = false;
    double pixelRatio = 1;
};

// The device pixel ratios samples are drawn for; a request outside is taken to the nearest.
inline constexpr double smallestPixelRatio = 1;
inline constexpr double largestPixelRatio = 4;

[[nodiscard]] QByteArray encodeRequest(const ReadRequest& request);
// A request without its ending NUL.
[[nodiscard]] ReadRequest decodeRequest(const QByteArray& request);

[[nodiscard]] QByteArray encodeVerdict(const FontVerdict& verdict);
// Takes the first whole verdict off the front of `received`; nothing while it is incomplete.
[[nodiscard]] std::optional<FontVerdict> takeVerdict(QByteArray& received);

}  // namespace kestrix::details
