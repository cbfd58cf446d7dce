#pragma once

#include "platform/program_start.h"

#include <QString>

class QWidget;

namespace kestrix::about {

// The one way the program opens a web address: the browser, started on its own, never
// waited for.
class BrowserLaunch {
public:
    explicit BrowserLaunch(platform::ProgramStarter start) : start_(std::move(start)) {}

    // Starts the browser on the address. When it cannot be started, tells the user so, naming
    // the address, and returns false.
    bool open(QWidget* parent, const QString& address) const;

private:
    platform::ProgramStarter start_;
};

}  // namespace kestrix::about
