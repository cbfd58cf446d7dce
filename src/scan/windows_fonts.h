#pragma once

#include "scan/names_match.h"

#include <QSet>
#include <QStringList>

namespace kestrix::scan {

// The font files of Windows 10 and 11 themselves, in the order they are kept.
[[nodiscard]] QStringList windowsFontNames();

// Windows' own font files, matched by the rule that matches the reference list, all of them in
// one look-up.
class WindowsFonts {
public:
    WindowsFonts();

    [[nodiscard]] bool contains(const BaseNameForms& file) const;

private:
    QSet<QString> exact_;     // the base names as written
    QSet<QString> accepted_;  // as written, in lower case and in upper case
};

}  // namespace kestrix::scan
