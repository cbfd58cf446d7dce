#pragma once

#include "about/about_window.h"
#include "details/font_reader.h"
#include "platform/drive_map.h"
#include "platform/file_owner.h"
#include "platform/program_start.h"
#include "platform/system_fonts.h"
#include "ui/form_slot.h"
#include "update/check_updates_window.h"

#include <QString>

namespace kestrix::app {

class FrmKestrix;

// What the program finds around it: where drive C: is, the folder of the program file, and the
// user's configuration folder, where Info.ini goes when the program's folder is read-only.
struct Environment {
    platform::DriveMap drives;
    QString appPath;
    // Starts the browser; tests put a recorder in its place.
    platform::ProgramStarter startProgram = platform::startDetached;
    // Where the update check asks; tests point it at a server of their own.
    update::Endpoint updateServer = update::fixedUpdateServer();
    // The font reader behind the found fonts' details; none turns the details off.
    QString fontReader = details::installedFontReader();
    // Where Info.ini goes when the program's folder cannot be written.
    QString userConfigFolder = {};
    // Who owns a file, and the system's calls that unload and load fonts; tests put stand-ins in
    // their place.
    platform::OwnerLookup fileOwner = platform::ownerOf;
    platform::FontCalls fontCalls = platform::systemFontCalls();
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
    // Brings the window the program shows now (a question, the window that took the main
    // window's place, or the main window) to the front, as when Kestrix is started again.
    void bringToFront();

    [[nodiscard]] const Environment& environment() const { return environment_; }

    ui::FormSlot<FrmKestrix> frmKestrix;
    ui::FormSlot<about::FrmAbout> frmAbout;
    ui::FormSlot<update::FrmCheckUpdates> frmCheckUpdates;

private:
    // The hand-back of the screen when a secondary window closes.
    std::function<void()> showMainWindow();

    Environment environment_;
};

}  // namespace kestrix::app
