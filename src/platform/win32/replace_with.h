#pragma once

#include "platform/replace_file.h"

#include <windows.h>

namespace kestrix::platform::win32 {

// ReplaceFileW as replaceFile() calls it: the file replaced, the new file, and the name the
// old one is moved to on the way. Tests put in stand-ins that fail part-way as Windows may.
using ReplaceCall = BOOL (*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup);

// replaceFile(), with `replace` in place of ReplaceFileW.
[[nodiscard]] ReplaceResult replaceFileWith(const QString& path,
                                            const std::vector<QByteArrayView>& pieces,
                                            ReplaceCall replace);

}  // namespace kestrix::platform::win32
