#include "details/font_reader.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <utility>

namespace kestrix::details {

QString installedFontReader() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return QStandardPaths::findExecutable(
        QStringLiteral("kestrix-font-reader"),
        {programFolder, programFolder + u'/' + QStringLiteral(KESTRIX_READER_FROM_PROGRAM)});
}

FontReader::FontReader(QString program, std::chrono::milliseconds patience, QObject* parent)
    : QObject(parent), program_(std::move(program)), patience_(patience) {
    patienceTimer_.setSingleShot(true);
    connect(&patienceTimer_, &QTimer::timeout, this, &FontReader::lostPatience);
}

FontReader::~FontReader() {
    // The program is ending: its readers end with it, and none is left unreaped.
    const auto readers = findChildren<platform::HelperProcess*>(Qt::FindDirectChildrenOnly);
    for (platform::HelperProcess* reader : readers) {
        reader->disconnect(this);
    }
    qDeleteAll(readers);
}

void FontReader::request(const QString& key, const ReadRequest& request) {
    waiting_.push_back({key, request});
    sendNext();
}

void FontReader::sendNext() {
    if (inFlight_ || waiting_.empty()) {
        return;
    }
    inFlight_ = waiting_.front();
    waiting_.pop_front();
    if (!process_) {
        startReader();
        if (!process_) {
            return;  // it failed at once, and every queued file has its verdict
        }
    }
    process_->hand(inFlight_->request.hostPath);
    process_->write(encodeRequest(inFlight_->request));
    patienceTimer_.start(patience_);
}

void FontReader::startReader() {
    process_ = new platform::HelperProcess(this);
    connect(process_, &platform::HelperProcess::readyRead, this, &FontReader::takeVerdicts);
    connect(process_, &platform::HelperProcess::finished, this, &FontReader::readerFinished);
    connect(process_, &platform::HelperProcess::failedToStart, this,
            &FontReader::readerFailedToStart);
    process_->start(program_);
}

void FontReader::stopReader() {
    patienceTimer_.stop();
    received_.clear();
    if (!process_) {
        return;
    }
    platform::HelperProcess* stopping = std::exchange(process_, nullptr);
    stopping->disconnect(this);
    if (!stopping->running()) {
        // It may be the process whose signal is being handled now.
        stopping->deleteLater();
        return;
    }
    // A reader that has taken much memory takes a while to end: it goes when it says it has.
    connect(stopping, &platform::HelperProcess::finished, stopping, &QObject::deleteLater);
    stopping->kill();
}

void FontReader::takeVerdicts() {
    received_ += process_->readAll();
    while (inFlight_) {
        const auto verdict = takeVerdict(received_);
        if (!verdict) {
            return;
        }
        finish(*verdict);
    }
}

void FontReader::readerFinished() {
    stopReader();
    if (inFlight_) {
        finish(FontVerdict::notAFont(QStringLiteral("the font engine crashed on it")));
    }
}

void FontReader::readerFailedToStart(const QString& why) {
    const QString reason = QStringLiteral("the font reader cannot be started: ") + why;
    stopReader();
    // Every file queued now would fail alike; the next request tries again.
    failAll(FontVerdict::noReader(reason));
}

void FontReader::failAll(const FontVerdict& verdict) {
    std::deque<Pending> failed;
    failed.swap(waiting_);
    if (inFlight_) {
        failed.push_front(*inFlight_);
        inFlight_.reset();
    }
    patienceTimer_.stop();
    for (const auto& pending : failed) {
        emit verdictRead(pending.key, verdict);
    }
    if (idle()) {
        emit becameIdle();
    }
}

void FontReader::lostPatience() {
    stopReader();
    const double seconds = std::chrono::duration<double>(patience_).count();
    finish(FontVerdict::notAFont(
        QStringLiteral("the font engine took longer than %1 seconds on it").arg(seconds)));
}

void FontReader::finish(const FontVerdict& verdict) {
    patienceTimer_.stop();
    const QString key = inFlight_->key;
    inFlight_.reset();
    emit verdictRead(key, verdict);
    sendNext();
    if (idle()) {
        emit becameIdle();
    }
}

}  // namespace kestrix::details
