#pragma once

#include "details/font_verdict.h"

#include <QWidget>

class QGridLayout;

namespace kestrix::details {

// A small window that shows a found font: its family and style name and the sample line at each
// sample size, as the font reader drew it with the file's own glyphs. Neither the file nor the
// font is ever opened here, so Optimize can wipe the file while the window shows, and a font
// that the engine cannot draw can harm nothing. Escape closes it; closing it destroys it.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(const QString& row, const FontVerdict& verdict, QWidget* parent);

private:
    void addSamples(QGridLayout& layout, const QList<QImage>& samples);
    // The tallest the window's inside may be for the window to fit its screen, frame included.
    [[nodiscard]] int tallestFitting();
};

}  // namespace kestrix::details
