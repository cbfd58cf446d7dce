#include "details/font_reader.h"

#include "platform/end_with_parent.h"

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
    for (QProcess* reader : findChildren<QProcess*>()) {
        reader->disconnect();
        reader->kill();
        reader->waitForFinished();
    }
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
    process_->write(encodeRequest(inFlight_->request));
    patienceTimer_.start(patience_);
}

void FontReader::startReader() {
    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    platform::endWithParent(*process_);
    connect(process_, &QProcess::readyReadStandardOutput, this, &FontReader::takeVerdicts);
    connect(process_, &QProcess::finished, this, &FontReader::readerFinished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            readerFailedToStart();
        }
    });
    process_->start(program_, QStringList());
}

void FontReader::stopReader() {
    patienceTimer_.stop();
    received_.clear();
    if (!process_) {
        return;
    }
    QProcess* stopping = std::exchange(process_, nullptr);
    stopping->disconnect(this);
    if (stopping->state() == QProcess::NotRunning) {
        // It may be the process whose signal is being handled now.
        stopping->deleteLater();
        return;
    }
    // A reader that has taken much memory takes a while to end: it goes when it says it has.
    connect(stopping, &QProcess::finished, stopping, &QObject::deleteLater);
    stopping->kill();
}

void FontReader::takeVerdicts() {
    received_ += process_->readAllStandardOutput();
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

void FontReader::readerFailedToStart() {
    const QString reason =
        QStringLiteral("the font reader cannot be started: ") + process_->errorString();
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
