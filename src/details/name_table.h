#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kestrix::details {

enum class FontName { Family, Style };

// The family or style name a font's name table ('name') records in Unicode (its entries for the
// Unicode and the Windows platform): the typographic name where there is one, else the plain
// one; in the first of the user's languages (`uiLanguages`, as QLocale gives them) that it has,
// else in English, else in whichever it has. Empty when the table has none.
[[nodiscard]] QString recordedName(QByteArrayView table, FontName which,
                                   const QStringList& uiLanguages);

// A name as one line of plain text: characters that control the text (line breaks, NULs) become
// blanks, runs of blanks one.
[[nodiscard]] QString oneLine(const QString& name);

}  // namespace kestrix::details
