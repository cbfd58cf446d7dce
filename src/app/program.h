#pragma once

#include "platform/drive_map.h"
#include "ui/form_slot.h"

#include <QString>

namespace kestrix::app {

class FrmKestrix;

// What the program finds around it: where drive C: is, and the folder of the program file.
struct Environment {
    platform::DriveMap drives;
    QString appPath;
};

// The program's windows, one instance each, and its start.
class Program {
public:
    explicit Program(Environment environment);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    // Loads the main window, which is the start-up object, and shows it.
    void start();

    [[nodiscard]] const Environment& environment() const { return environment_; }

    ui::FormSlot<FrmKestrix> frmKestrix;

private:
    Environment environment_;
};

}  // namespace kestrix::app
