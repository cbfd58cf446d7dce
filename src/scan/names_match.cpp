#include "scan/names_match.h"

namespace kestrix::scan {

QString BaseName(const QString& fileName) {
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

bool NamesMatch(const QString& fileName, const QString& entry) {
    const QString file = BaseName(fileName);
    const QString reference = BaseName(entry);
    return file == reference || file == reference.toLower() || file.toLower() == reference ||
           file == reference.toUpper() || file.toUpper() == reference;
}

}  // namespace kestrix::scan
