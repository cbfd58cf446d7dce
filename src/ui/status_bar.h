#pragma once

#include <QFrame>
#include <QLabel>
#include <vector>

namespace kestrix::ui {

// A status bar of panels, each a label so that its text can be read by assistive technology.
// Panels are numbered from 1; the last one takes the rest of the width.
class StatusBar : public QFrame {
    Q_OBJECT
public:
    // widthsInTwips: the widths of every panel but the last.
    StatusBar(QWidget* parent, const std::vector<int>& widthsInTwips, int panelCount);

    [[nodiscard]] QLabel* panel(int number) const { return panels_.at(number - 1); }
    [[nodiscard]] QString panelText(int number) const { return panel(number)->text(); }
    void setPanelText(int number, const QString& text) { panel(number)->setText(text); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<int> widthsInTwips_;
    std::vector<QLabel*> panels_;
};

}  // namespace kestrix::ui
