#include "settings/lifetime_counter.h"

#include "platform/file_lock.h"
#include "platform/host_folders.h"
#include "settings/profile_file.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrix::settings {

namespace {
const QString section = QStringLiteral("Kestrix Settings");
const QString key = QStringLiteral("Total");
}  // namespace

QString settingsFile(const QString& appPath) {
    return appPath + QStringLiteral("/Info.ini");
}

QString locateSettingsFile(const QString& appPath, const QString& userConfigFolder) {
    const QString beside = settingsFile(appPath);
    if (userConfigFolder.isEmpty() || platform::isWritableFolder(appPath)) {
        return beside;
    }
    const QString folder = userConfigFolder + u'/' + platform::ownFolderName();
    const QString own = settingsFile(folder);
    const QFileInfo ownInfo(own);
    if (!ownInfo.exists() && !ownInfo.isSymLink() && QDir().mkpath(folder) &&
        QFileInfo(beside).isFile() && QFile::copy(beside, own)) {
        // The copy is the user's own to write, whatever the original allowed.
        QFile::setPermissions(
            own, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return own;
}

LifetimeCounter::LifetimeCounter(ui::KestrixWindowDesign& window, ui::LooseValue& TotalDeleted,
                                 QString settingsFile)
    : w_(window), TotalDeleted(TotalDeleted), file_(std::move(settingsFile)) {}

QString LifetimeCounter::readTotal() const {
    return ReadSetting(section, key, file_);
}

// The count on screen stays right whatever becomes of the write, and the next write tries
// again.
void LifetimeCounter::writeTotal(const QString& value) {
    const WriteResult result = WriteSetting(section, key, value, file_);
    if (!result) {
        reportNotKept(result.reason);
    } else if (!result.reason.isEmpty()) {
        reportNotFlushed(result.reason);
    }
}

void LifetimeCounter::reportNotKept(const QString& reason) {
    if (notKeptReported_) {
        return;
    }
    notKeptReported_ = true;
    ui::showFailure(&w_, QStringLiteral("Kestrix could not save its count of deleted fonts in\n") +
                             QDir::toNativeSeparators(file_) + QStringLiteral("\n(") + reason +
                             QStringLiteral(").\n\nThe window goes on counting, but the count "
                                            "may not be kept after Kestrix closes."));
}

void LifetimeCounter::reportNotFlushed(const QString& reason) {
    if (notFlushedReported_) {
        return;
    }
    notFlushedReported_ = true;
    ui::showFailure(&w_, QStringLiteral("Kestrix saved its count of deleted fonts in\n") +
                             QDir::toNativeSeparators(file_) +
                             QStringLiteral("\nbut it may not outlive a crash of the system (") +
                             reason + QStringLiteral(")."));
}

void LifetimeCounter::load() {
    if (readTotal().isEmpty()) {
        TotalDeleted = ui::LooseValue::integer(0);
        writeTotal(QStringLiteral("0"));
    }
    // When the "0" could not be stored either, the count stays the 0 it is rather than blank.
    if (const QString stored = readTotal(); !stored.isEmpty()) {
        TotalDeleted = ui::LooseValue::text(stored);
    }
    w_.lblttl->setText(TotalDeleted.toText());
}

// A lock that cannot be had does not stop the count: it is taken only against another Kestrix.
void LifetimeCounter::raise() {
    const auto lock = platform::FileLock::acquire(file_);
    if (const QString stored = readTotal(); !stored.isEmpty()) {
        TotalDeleted = ui::LooseValue::text(stored);
    }
    TotalDeleted = TotalDeleted.plusOne();
    w_.lblttl->setText(TotalDeleted.toText());
    writeTotal(w_.lblttl->text());
}

void LifetimeCounter::mnuReset_Click() {
    const QString prompt =
        QStringLiteral("Are you sure you would like to reset your statistics?\r\n(") +
        QDir::toNativeSeparators(file_) + u')';
    if (!ui::askYesNo(&w_, prompt)) {
        return;
    }
    const auto lock = platform::FileLock::acquire(file_);
    TotalDeleted = ui::LooseValue::integer(0);
    w_.lblttl->setText(QStringLiteral("0"));
    writeTotal(QStringLiteral("0"));
}

}  // namespace kestrix::settings
