#pragma once

#include <QProxyStyle>

namespace kestrix::ui {

// Access keys are underlined only while they are wanted, so the windows look as designed:
// while Alt is held, and in the menus while they are worked with the keyboard. The focus is
// drawn in a window once the keyboard is used there. The menu bar's icon for menus that do not
// fit is read only when it is drawn.
class KeyboardCuesStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit KeyboardCuesStyle(const QString& baseStyle);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QApplication* application) override;
    void unpolish(QApplication* application) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool showsAccessKeys(const QWidget* widget) const;
    void setAltHeld(bool held);

    bool altHeld_ = false;
    bool keyboardInUse_ = false;  // the last key or button press came from the keyboard
};

}  // namespace kestrix::ui
