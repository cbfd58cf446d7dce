#pragma once

#include "settings/profile_file.h"
#include "ui/kestrix_window_design.h"
#include "ui/loose_value.h"

#include <QString>
#include <QTimer>

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
    // What the file has not taken yet goes into it now, after a short wait for its lock.
    ~LifetimeCounter();
    LifetimeCounter(const LifetimeCounter&) = delete;
    LifetimeCounter& operator=(const LifetimeCounter&) = delete;

    // Takes the stored count, storing "0" first when there is none.
    void load();
    // One more deleted font. The window counts on at once, whatever becomes of the file; the
    // file takes the deletion under its lock, added to the count it holds then (another Kestrix
    // may count in the same file), now or as soon as the lock and the file let it.
    void raise();
    void mnuReset_Click();

private:
    [[nodiscard]] QString readTotal() const;
    [[nodiscard]] WriteResult writeTotal(const QString& value) const;
    void report(const WriteResult& result);
    [[nodiscard]] bool hasUnsaved() const { return unsaved_ > 0 || resetUnsaved_; }
    // Saves what the file has not taken yet, when its lock can be had at once; otherwise tries
    // again shortly, for the window never waits on another program.
    void save();
    // Adds the deletions the file has not taken to the count it holds now, or to 0 after a
    // reset it has not taken, and stores the sum, which the window then shows.
    [[nodiscard]] WriteResult storeUnsaved();
    // Tells the user, once a run, that the count may not outlive it.
    void reportNotKept(const QString& reason);
    // Tells the user, once a run, that the count was saved but may be lost in a crash.
    void reportNotFlushed(const QString& reason);

    ui::KestrixWindowDesign& w_;
    ui::LooseValue& TotalDeleted;
    QString file_;
    // The count as the file held it, or as it was reset to, when the window last agreed with
    // the file; the deletions counted since, and whether a reset came since.
    ui::LooseValue savedCount_;
    qint64 unsaved_ = 0;
    bool resetUnsaved_ = false;
    QTimer retry_;
    bool notKeptReported_ = false;
    bool notFlushedReported_ = false;
};

}  // namespace kestrix::settings
