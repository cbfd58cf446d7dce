#pragma once

#include "details/reader_protocol.h"
#include "platform/unique_handle.h"

namespace kestrix::details {

// How much more memory the font reader may take than it holds when it starts: room for the
// largest file, a copy of it, and the drawing of its sample.
inline constexpr qint64 readerMemory = 3 * largestFontFile;

// Reads a font file whole (the file handed with the request, or where none was, the file at its
// path), closes it at once, and has the font engine (QRawFont, FreeType
// underneath) read its names from those bytes, and draw its samples where the request asks for
// them: a file the engine is slow to draw, or fails on while drawing, still has its names read
// when only they are asked for. Failures come here, in the reader, where they can take nothing
// else with them. Needs a QGuiApplication.
[[nodiscard]] FontVerdict readFontFile(const ReadRequest& request,
                                       const platform::UniqueHandle& handed);

}  // namespace kestrix::details
