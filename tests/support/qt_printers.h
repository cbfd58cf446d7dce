#pragma once

// How failed assertions show Qt's texts: as the text itself, not as a list of 2-byte objects.
// Every test source takes this in first (see kestrix_add_test).

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
