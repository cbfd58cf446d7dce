#pragma once

#include <QLabel>

namespace kestrix::ui {

// A label sized to its caption, as a design may ask. A right-aligned one keeps its right edge
// and grows to the left, so figures stay under each other; it never grows past `room`,
// the span of its container that it may take, so a long figure stays readable.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    CaptionLabel(QWidget* parent, const QString& caption, Qt::Alignment alignment);

    // Places the label in twips; `room` is the horizontal span (in pixels) it may grow into.
    void placeAt(int left, int top, int width, int height, int roomLeft, int roomRight);

    void setText(const QString& text);

private:
    void fitToCaption();

    int anchor_ = 0;  // the right edge for a right-aligned label, else the left edge
    int roomLeft_ = 0;
    int roomRight_ = 0;
};

// A figure shown beside its caption ("Scanned:" beside "18/18"). Assistive technology reads it
// together with its caption, "Scanned: 18/18", and hears that whole text again when it changes.
class FigureLabel : public CaptionLabel {
    Q_OBJECT
public:
    FigureLabel(QWidget* parent, const QString& figure, const QLabel* caption);

    [[nodiscard]] QString spokenText() const;

private:
    const QLabel* caption_;
};

}  // namespace kestrix::ui
