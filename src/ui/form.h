#pragma once

#include <QIcon>
#include <QMainWindow>

namespace kestrix::ui {

// Escape closes the window as its close box does; for windows that only show something.
void closeOnEscape(QWidget& window);

// A window of the program: a fixed client area laid out in twips, Tahoma 8.25 pt, a close box
// but no minimise or maximise box, centred, frame included, on its screen the first time it
// shows.
// Closing it asks its slot to unload it; the slot runs Form_Unload and destroys it.
class Form : public QMainWindow {
    Q_OBJECT
public:
    Form(const QString& caption, QSize clientTwips, const QIcon& icon);

    // The window's own unload handler; runs before the window is destroyed.
    virtual void Form_Unload() {}

    // The area below the title bar (and below the menu bar) that holds the controls.
    [[nodiscard]] QWidget* clientArea() const { return client_; }

signals:
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();

    QWidget* client_;
    bool centred_ = false;
};

// The font every window and control uses unless its design says otherwise.
[[nodiscard]] QFont designFont();

// Makes Wine's Tahoma, which the design font is, known to the program when the system's font
// configuration does not list it.
void addWineTahoma();

// The windows are laid out for the classic Windows look, where a frame's caption sits on the
// frame's line; other styles draw it above the line, across the first row of controls.
void applyClassicStyle();

}  // namespace kestrix::ui
