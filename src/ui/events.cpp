#include "ui/events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QVariant>

namespace kestrix::ui {

namespace {

// The mark lives on the application object, so it lasts exactly as long as the program.
constexpr const char* endingProperty = "kestrixEnding";

bool yield(QEventLoop::ProcessEventsFlags flags) {
    if (!programEnding()) {
        QCoreApplication::processEvents(flags);
    }
    return !programEnding();
}

}  // namespace

bool doEvents() {
    return yield(QEventLoop::AllEvents);
}

bool doEventsButTimers() {
    return yield(QEventLoop::X11ExcludeTimers);
}

void endProgram() {
    if (auto* app = QCoreApplication::instance()) {
        app->setProperty(endingProperty, true);
        QCoreApplication::exit(0);
    }
}

bool programEnding() {
    const auto* app = QCoreApplication::instance();
    return app == nullptr || app->property(endingProperty).toBool();
}

void clearProgramEnding() {
    if (auto* app = QCoreApplication::instance()) {
        app->setProperty(endingProperty, false);
    }
}

}  // namespace kestrix::ui
