#include "ui/events.h"

#include <QCoreApplication>
#include <QVariant>

namespace kestrix::ui {

namespace {
// The mark lives on the application object, so it lasts exactly as long as the program.
constexpr const char* endingProperty = "kestrixEnding";
}  // namespace

bool doEvents() {
    if (!programEnding()) {
        QCoreApplication::processEvents();
    }
    return !programEnding();
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
