#include "scan/names_match.h"

namespace kestrix::scan {

QString BaseName(const QString& fileName) {
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

BaseNameForms::BaseNameForms(const QString& name)
    : exact(BaseName(name)), lower(exact.toLower()), upper(exact.toUpper()) {}

bool NamesMatch(const QString& fileName, const QString& entry) {
    return NamesMatch(BaseNameForms(fileName), BaseNameForms(entry));
}

bool NamesMatch(const BaseNameForms& file, const BaseNameForms& entry) {
    return file.exact == entry.exact || file.exact == entry.lower || file.lower == entry.exact ||
           file.exact == entry.upper || file.upper == entry.exact;
}

}  // namespace kestrix::scan
