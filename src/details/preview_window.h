#pragma once

#include "details/font_verdict.h"

#include <QWidget>

namespace kestrix::details {

// A small window that shows a found font: its family and style name and the sample line at each
// sample size, drawn with the font loaded from the bytes the verdict was read from. The file
// itself is never opened here, so Optimize can wipe it while the window shows. Escape closes it;
// closing it destroys it and removes the font it loaded.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(const QString& row, const FontVerdict& verdict, QWidget* parent);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

private:
    // Adds the sample lines; returns false when the font cannot be loaded after all.
    bool addSamples(const FontVerdict& verdict);

    int fontId_ = -1;
};

}  // namespace kestrix::details
