#pragma once

#include "ui/kestrix_window_design.h"
#include "ui/loose_value.h"

#include <QString>

namespace kestrix::settings {

// The settings file: Info.ini in the program's folder.
[[nodiscard]] QString settingsFile(const QString& appPath);

// The settings file in use: Info.ini beside the program while its folder can be written.
// Otherwise, as Windows redirects the writes of programs in protected folders, Info.ini in
// Kestrix's own folder in the user's configuration folder, made as needed and first started
// from a copy of the one beside the program, if there is one.
[[nodiscard]] QString locateSettingsFile(const QString& appPath, const QString& userConfigFolder);

// The lifetime count of deleted fonts: TotalDeleted, shown by lblttl and kept in the settings
// file, which is written every time the count changes.
class LifetimeCounter {
public:
    LifetimeCounter(ui::KestrixWindowDesign& window, ui::LooseValue& TotalDeleted,
                    QString settingsFile);

    // Takes the stored count, storing "0" first when there is none.
    void load();
    // One more deleted font, counted on from the count the file holds now, under the file's
    // lock: another Kestrix may count in the same file.
    void raise();
    void mnuReset_Click();

private:
    [[nodiscard]] QString readTotal() const;
    void writeTotal(const QString& value);
    // Tells the user, once a run, that the count may not outlive it.
    void reportNotKept(const QString& reason);
    // Tells the user, once a run, that the count was saved but may be lost in a crash.
    void reportNotFlushed(const QString& reason);

    ui::KestrixWindowDesign& w_;
    ui::LooseValue& TotalDeleted;
    QString file_;
    bool notKeptReported_ = false;
    bool notFlushedReported_ = false;
};

}  // namespace kestrix::settings
