#pragma once

#include <QString>

namespace kestrix::settings {

// The longest value a read returns; longer values are cut.
constexpr qsizetype longestSettingValue = 749;

// No settings file of ours comes near this; reading a larger one could exhaust memory.
constexpr qint64 largestSettingsFile = qint64{512} * 1024 * 1024;

// The value stored under `key` in `section` of the profile (INI) file `file`, with surrounding
// blanks and one pair of matching outer quotes removed. Section and key names match without
// regard to letter case or surrounding blanks; the first match wins. "" when the file, the
// section or the key is missing, or the value is empty. Files are 8-bit (UTF-8, with or without
// its byte-order mark) or UTF-16 with a byte-order mark.
[[nodiscard]] QString ReadSetting(const QString& section, const QString& key, const QString& file);

// What became of a write: either the whole new file is in place, or the old file is left as it
// was and `reason` says why, in words for the user. A file written may still carry a reason:
// why it may be lost in a crash of the system.
struct WriteResult {
    bool written = false;
    QString reason;

    explicit operator bool() const { return written; }
};

// Stores `value` under `key` (written in capitals, where capitals still match it, when it is
// new) in `section` of `file`, creating the file (not its folder), the section and the key as
// needed, and replacing an existing value in place. Every other line of the file keeps its
// bytes and its encoding. The new file reaches the disk before it replaces the old one, so a
// failure leaves the old file exactly as it was. Fails when the file cannot be written, or when
// a name or the value would break the file's lines.
[[nodiscard]] WriteResult WriteSetting(const QString& section, const QString& key,
                                       const QString& value, const QString& file);

}  // namespace kestrix::settings
