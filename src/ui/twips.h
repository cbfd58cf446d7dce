#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace kestrix::ui {

// The windows are designed in twips: 1440 to the inch, 15 to a logical pixel.
constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

constexpr QSize twipsSize(int width, int height) {
    return {pixels(width), pixels(height)};
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

// Places a control inside its container at a position and size given in twips.
void place(QWidget* control, int left, int top, int width, int height);

}  // namespace kestrix::ui
