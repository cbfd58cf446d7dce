#pragma once

#include <QString>

namespace kestrix::settings {

// The longest value a read returns; longer values are cut.
constexpr qsizetype longestSettingValue = 749;

// The value stored under `key` in `section` of the profile (INI) file `file`, with surrounding
// blanks and one pair of matching outer quotes removed. Section and key names match without
// regard to letter case or surrounding blanks; the first match wins. "" when the file, the
// section or the key is missing, or the value is empty.
[[nodiscard]] QString ReadSetting(const QString& section, const QString& key, const QString& file);

// Stores `value` under `key` (written in capitals when it is new) in `section` of `file`,
// creating the file (not its folder), the section and the key as needed, and replacing an
// existing value in place. Every other line of the file keeps its bytes. The file is replaced
// as a whole, so it is never left half written. Returns false when it could not be written,
// or when a name or the value would break the file's lines.
bool WriteSetting(const QString& section, const QString& key, const QString& value,
                  const QString& file);

}  // namespace kestrix::settings
