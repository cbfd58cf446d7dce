#pragma once

#include <QIcon>

#include <functional>
#include <map>

namespace kestrix::ui {

// Icons that read their images when they are first drawn or measured, not when they are made:
// a window that starts reads only what it shows.

// An icon drawn at square sizes, one image file for each side length (at least one). It looks
// as Qt's icon of the same files does at every size, mode and scale, but reads a file only when
// a size that file is the best drawing for is first asked for.
[[nodiscard]] QIcon drawnIcon(std::map<int, QString> drawings);

// The icon that make() returns, made when it is first drawn or measured. It looks as that icon
// does wherever that icon is made of images of one scale, as the styles' own icons are.
[[nodiscard]] QIcon deferredIcon(std::function<QIcon()> make);

}  // namespace kestrix::ui
