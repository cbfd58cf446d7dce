#pragma once

#include <QStringList>
#include <span>
#include <string_view>

namespace kestrix::scan {

// The standard font files a scan leaves alone, in the order lstDatabase holds them.
[[nodiscard]] QStringList referenceList();

// The file names of a table built into the program, as texts.
[[nodiscard]] QStringList namesOf(std::span<const std::string_view> table);

}  // namespace kestrix::scan
