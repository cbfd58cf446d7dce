#include "settings/lifetime_counter.h"

#include "platform/file_lock.h"
#include "platform/host_folders.h"
#include "platform/replace_file.h"
#include "platform/whole_file.h"
#include "settings/profile_file.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace kestrix::settings {

namespace {

const QString section = QStringLiteral("Kestrix Settings");
const QString key = QStringLiteral("Total");
// While another program holds the lock, how often the file is tried again.
constexpr int retryMs = 100;
// How long the last save waits for the lock.
constexpr std::chrono::milliseconds patienceAtTheEnd{2000};

// `count` with `more` added, as the window counts: the largest 64-bit number stays as it is.
ui::LooseValue countedOn(const ui::LooseValue& count, qint64 more) {
    const qint64 number = count.toInteger();
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    return ui::LooseValue::integer(more > largest - number ? largest : number + more);
}

// The settings beside the program, read as every settings file is read, in a new file.
bool copySettings(const QString& from, const QString& to) {
    const auto read = platform::readWholeFile(from, largestSettingsFile);
    const auto* bytes = std::get_if<QByteArray>(&read);
    return bytes && platform::replaceFile(to, {*bytes}).inPlace;
}

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
        copySettings(beside, own)) {
        // The copy is the user's own to write, whatever the original allowed.
        QFile::setPermissions(
            own, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return own;
}

LifetimeCounter::LifetimeCounter(ui::KestrixWindowDesign& window, ui::LooseValue& TotalDeleted,
                                 QString settingsFile)
    : w_(window), TotalDeleted(TotalDeleted), file_(std::move(settingsFile)) {
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    QObject::connect(&retry_, &QTimer::timeout, &retry_, [this] { save(); });
}

// Nobody is told any more. A holder that keeps the lock past the wait has hung, and the count
// goes into the file all the same.
LifetimeCounter::~LifetimeCounter() {
    if (hasUnsaved()) {
        const auto lock = platform::FileLock::acquire(file_, patienceAtTheEnd);
        (void)storeUnsaved();
    }
}

QString LifetimeCounter::readTotal() const {
    return ReadSetting(section, key, file_);
}

WriteResult LifetimeCounter::writeTotal(const QString& value) const {
    return WriteSetting(section, key, value, file_);
}

// The count on screen stays right whatever becomes of the write, and the next write tries
// again.
void LifetimeCounter::report(const WriteResult& result) {
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
        report(writeTotal(QStringLiteral("0")));
    }
    // When the "0" could not be stored either, the count stays the 0 it is rather than blank.
    if (const QString stored = readTotal(); !stored.isEmpty()) {
        TotalDeleted = ui::LooseValue::text(stored);
    }
    savedCount_ = TotalDeleted;
    w_.lblttl->setText(TotalDeleted.toText());
}

void LifetimeCounter::raise() {
    TotalDeleted = TotalDeleted.plusOne();
    w_.lblttl->setText(TotalDeleted.toText());
    ++unsaved_;
    save();
}

void LifetimeCounter::mnuReset_Click() {
    const QString prompt =
        QStringLiteral("Are you sure you would like to reset your statistics?\r\n(") +
        QDir::toNativeSeparators(file_) + u')';
    if (!ui::askYesNo(&w_, prompt)) {
        return;
    }
    TotalDeleted = ui::LooseValue::integer(0);
    w_.lblttl->setText(QStringLiteral("0"));
    savedCount_ = TotalDeleted;
    unsaved_ = 0;
    resetUnsaved_ = true;
    save();
}

// A lock that cannot be had for another reason does not stop the count: it is taken only
// against another Kestrix.
void LifetimeCounter::save() {
    if (!hasUnsaved()) {
        return;
    }
    const auto lock = platform::FileLock::acquire(file_);
    if (std::holds_alternative<platform::FileLock::Busy>(lock)) {
        retry_.start();
        return;
    }
    report(storeUnsaved());
}

WriteResult LifetimeCounter::storeUnsaved() {
    if (!resetUnsaved_) {
        if (const QString stored = readTotal(); !stored.isEmpty()) {
            savedCount_ = ui::LooseValue::text(stored);
        }
    }
    const ui::LooseValue total = countedOn(savedCount_, unsaved_);
    const WriteResult result = writeTotal(total.toText());
    if (result) {
        savedCount_ = total;
        unsaved_ = 0;
        resetUnsaved_ = false;
        TotalDeleted = total;
        w_.lblttl->setText(total.toText());
    }
    return result;
}

}  // namespace kestrix::settings
