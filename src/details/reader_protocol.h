#pragma once

#include "details/font_verdict.h"

#include <optional>

namespace kestrix::details {

// How the program and the font reader talk over the reader's standard input and output.
// A request is one byte ('N' for the names, 'B' for the names and the bytes) and a host path
// in UTF-8, ended by a NUL. A verdict is its kind ('F' font, 'X' not a font), two texts (family
// and style, or the reason and nothing), the number of bytes that follow, each ended by a NUL,
// then the bytes.

struct ReadRequest {
    QString hostPath;
    bool withBytes = false;
};

[[nodiscard]] QByteArray encodeRequest(const ReadRequest& request);
// A request without its ending NUL.
[[nodiscard]] ReadRequest decodeRequest(const QByteArray& request);

[[nodiscard]] QByteArray encodeVerdict(const FontVerdict& verdict, bool withBytes);
// Takes the first whole verdict off the front of `received`; nothing while it is incomplete.
[[nodiscard]] std::optional<FontVerdict> takeVerdict(QByteArray& received);

}  // namespace kestrix::details
