#pragma once

#include <QString>

namespace kestrix::scan {

// The text before the first ".": the whole name when it has none, "" when it starts with one.
[[nodiscard]] QString BaseName(const QString& fileName);

// Whether a file name matches a reference entry: their base names are equal when letter case
// is ignored, and either identical or at least one of them is written in a single case.
[[nodiscard]] bool NamesMatch(const QString& fileName, const QString& entry);

}  // namespace kestrix::scan
