#pragma once

#include <QString>

namespace kestrix::scan {

// The text before the first ".": the whole name when it has none, "" when it starts with one.
[[nodiscard]] QString BaseName(const QString& fileName);

// A name's base name in the three forms that matching compares, worked out once per name.
struct BaseNameForms {
    explicit BaseNameForms(const QString& name);
    QString exact;
    QString lower;
    QString upper;
};

// Whether a file name matches a reference entry: their base names are equal when letter case
// is ignored, and either identical or at least one of them is written in a single case.
[[nodiscard]] bool NamesMatch(const QString& fileName, const QString& entry);
[[nodiscard]] bool NamesMatch(const BaseNameForms& file, const BaseNameForms& entry);

}  // namespace kestrix::scan
