#include "support/x11_desktop.h"
#include "ui/form.h"

#include <gtest/gtest.h>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace kestrix::ui {
namespace {

// Counts the moves of a window once it has shown on the screen.
class MovesOnScreen : public QObject {
public:
    explicit MovesOnScreen(QWindow* window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            shown_ = true;
        } else if (event->type() == QEvent::Move && shown_) {
            ++count;
        }
        return false;
    }

private:
    bool shown_ = false;
};

TEST(WindowPlacement, OpensCentredFrameIncludedAndStaysWhereItOpened) {
    if (const QString missing = test::x11_desktop::missing(); !missing.isEmpty()) {
        GTEST_SKIP() << "no window manager to place the window: " << missing.toStdString();
    }
    Form form(QStringLiteral("Kestrix - Placement"), QSize(5655, 2745), QIcon());
    form.winId();
    MovesOnScreen moves(form.windowHandle());
    form.show();
    // Active once the window manager has framed, placed and focused it.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    const QRect frame = form.windowHandle()->frameGeometry();
    EXPECT_GT(frame.height(), form.height()) << "the window manager gave it a title bar";
    const QPoint centre = form.screen()->availableGeometry().center();
    EXPECT_LE(std::abs(frame.center().x() - centre.x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - centre.y()), 1);
    EXPECT_EQ(moves.count, 0) << "the window moved after it showed";
}

}  // namespace
}  // namespace kestrix::ui
