#include "details/found_details.h"

#include "details/details_text.h"

#include <algorithm>

namespace kestrix::details {

FoundDetails::FoundDetails(ui::FoundList& list, platform::DriveMap drives, const QString& reader,
                           QObject* parent)
    : QObject(parent), list_(list), drives_(std::move(drives)), reader_(reader, readerPatience) {
    connect(&list_, &ui::FoundList::rowToolTipAsked, this, &FoundDetails::rowHovered);
    connect(&list_, &ui::FoundList::previewAsked, this, &FoundDetails::previewAsked);
    connect(list_.model(), &QAbstractItemModel::modelReset, this, &FoundDetails::forgetRows);
    connect(&reader_, &FontReader::verdictRead, this, &FoundDetails::verdictRead);
    connect(&reader_, &FontReader::becameIdle, this, &FoundDetails::readNextRowInIdleTime);
}

void FoundDetails::scanFinished() {
    readingInIdleTime_ = true;
    idleRow_ = 0;
    if (reader_.idle()) {
        readNextRowInIdleTime();
    }
}

void FoundDetails::fileRemoved(const QString& row) {
    previewWanted_.remove(row);
    if (PreviewWindow* preview = previews_.take(row)) {
        preview->close();
    }
}

void FoundDetails::rowHovered(int row) {
    const QString text = list_.rowText(row);
    const auto known = verdicts_.constFind(text);
    if (known != verdicts_.cend() && known->stamp != stampOf(drives_.resolve(text).hostPath)) {
        verdicts_.erase(known);  // it tells of a file that is no longer there
    }
    if (!verdicts_.contains(text) && !beingRead(text)) {
        read(text, false);
    }
    describe(text);
}

void FoundDetails::previewAsked(int row) {
    const QString text = list_.rowText(row);
    if (PreviewWindow* open = previews_.value(text)) {
        open->raise();
        open->activateWindow();
        return;
    }
    previewWanted_.insert(text);
    // The row tells the font's names, whatever becomes of the drawing.
    if (!verdicts_.contains(text) && !beingRead(text)) {
        read(text, false);
    }
    read(text, true);
}

FoundDetails::FileStamp FoundDetails::stampOf(const QString& hostPath) {
    const QFileInfo file(hostPath);
    return {file.size(), file.lastModified(), file.metadataChangeTime()};
}

void FoundDetails::read(const QString& row, bool withSamples) {
    const platform::ResolvedPath path = drives_.resolve(row);
    const QString key = QString::number(++lastRequest_);
    // Stamped before it is read: a change while it is read shows at the next hover.
    asked_.insert(key, {row, stampOf(path.hostPath), withSamples});
    if (path.status != platform::ResolvedPath::Status::Found) {
        verdictRead(key, FontVerdict::notAFont(platform::describeUnusable(path)));
        return;
    }
    reader_.request(key, {path.hostPath, withSamples, list_.devicePixelRatioF()});
}

bool FoundDetails::beingRead(const QString& row) const {
    return std::any_of(asked_.cbegin(), asked_.cend(),
                       [&row](const Request& request) { return request.row == row; });
}

void FoundDetails::verdictRead(const QString& key, const FontVerdict& verdict) {
    const auto asked = asked_.constFind(key);
    if (asked == asked_.cend()) {
        return;  // asked for before the list was emptied
    }
    const Request request = *asked;
    asked_.erase(asked);
    if (verdict.kind == FontVerdict::Kind::NoReader) {
        readingInIdleTime_ = false;  // every other file would fail alike
    }
    // A drawing that failed tells nothing of the names: the names read beside it do.
    if (!request.withSamples || verdict.kind == FontVerdict::Kind::Font) {
        FontVerdict names = verdict;
        names.samples.clear();
        verdicts_.insert(request.row, {names, request.stamp});
        describe(request.row);
    }
    if (previewWanted_.contains(request.row) &&
        (request.withSamples || verdict.kind != FontVerdict::Kind::Font)) {
        previewWanted_.remove(request.row);
        openPreview(request.row, verdict);
    }
}

void FoundDetails::describe(const QString& row) {
    const int index = list_.rowOf(row);
    if (index == 0) {
        return;
    }
    const auto known = verdicts_.constFind(row);
    const platform::ResolvedPath path = drives_.resolve(row);
    list_.setRowDescription(
        index, describeRow(row,
                           known == verdicts_.cend() ? std::nullopt
                                                     : std::optional<FontVerdict>(known->verdict),
                           QFileInfo(path.hostPath)));
}

void FoundDetails::readNextRowInIdleTime() {
    while (readingInIdleTime_ && reader_.idle()) {
        if (++idleRow_ > list_.rowCount()) {
            readingInIdleTime_ = false;
            return;
        }
        const QString text = list_.rowText(idleRow_);
        if (!verdicts_.contains(text) && !beingRead(text)) {
            read(text, false);
        }
    }
}

void FoundDetails::openPreview(const QString& row, const FontVerdict& verdict) {
    auto* preview = new PreviewWindow(row, verdict, list_.window());
    previews_.insert(row, preview);
    connect(preview, &QObject::destroyed, this, [this, row, preview] {
        if (previews_.value(row) == preview) {
            previews_.remove(row);
        }
    });
    preview->show();
}

void FoundDetails::forgetRows() {
    verdicts_.clear();
    asked_.clear();
    previewWanted_.clear();
    readingInIdleTime_ = false;
}

}  // namespace kestrix::details
