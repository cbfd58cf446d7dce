#pragma once

#include "details/font_verdict.h"

#include <QFileInfo>
#include <optional>

namespace kestrix::details {

// The lines that tell the user which font a file is, as a row's tooltip and a preview show them.
[[nodiscard]] QString familyLine(const QString& family);
[[nodiscard]] QString styleLine(const QString& style);
// What the verdict says about the font: its family and style lines, or why there are none.
[[nodiscard]] QStringList verdictLines(const FontVerdict& verdict);

// A row's whole description: its text, what is known of its font (nothing yet while it is being
// read), and its file's size and modification date.
[[nodiscard]] QString describeRow(const QString& row, const std::optional<FontVerdict>& verdict,
                                  const QFileInfo& file);

}  // namespace kestrix::details
