#include "ui/events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QVariant>

namespace kestrix::ui {

namespace {

// The marks live on the application object, so they last exactly as long as the program.
constexpr const char* endingProperty = "kestrixEnding";
constexpr const char* runningProperty = "kestrixRunning";

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

int runProgram() {
    auto* app = QCoreApplication::instance();
    if (app == nullptr || programEnding()) {
        return 0;
    }
    app->setProperty(runningProperty, true);
    const int code = QCoreApplication::exec();
    app->setProperty(runningProperty, false);
    return code;
}

void endProgram() {
    auto* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    app->setProperty(endingProperty, true);
    // exit() outside exec() would make every later event loop of the process, a modal
    // question's included, return at once.
    if (app->property(runningProperty).toBool()) {
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
