#include "details/found_details.h"

#include "details/details_text.h"

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
    if (!verdicts_.contains(text) && !reading_.contains(text)) {
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
    read(text, true);
}

FoundDetails::FileStamp FoundDetails::stampOf(const QString& hostPath) {
    const QFileInfo file(hostPath);
    return {file.size(), file.lastModified(), file.metadataChangeTime()};
}

void FoundDetails::read(const QString& row, bool withSamples) {
    const platform::ResolvedPath path = drives_.resolve(row);
    // Stamped before it is read: a change while it is read shows at the next hover.
    reading_[row].push_back(stampOf(path.hostPath));
    if (path.status != platform::ResolvedPath::Status::Found) {
        verdictRead(row, FontVerdict::notAFont(platform::describeUnusable(path)));
        return;
    }
    reader_.request(row, {path.hostPath, withSamples, list_.devicePixelRatioF()});
}

void FoundDetails::verdictRead(const QString& row, const FontVerdict& verdict) {
    const auto pending = reading_.find(row);
    if (pending == reading_.end()) {
        return;  // asked for before the list was emptied
    }
    const FileStamp stamp = pending->front();
    pending->pop_front();
    if (pending->empty()) {
        reading_.erase(pending);
    }
    if (verdict.kind == FontVerdict::Kind::NoReader) {
        readingInIdleTime_ = false;  // every other file would fail alike
    }
    FontVerdict names = verdict;
    names.samples.clear();
    verdicts_.insert(row, {names, stamp});
    describe(row);
    if (previewWanted_.contains(row) &&
        (verdict.kind != FontVerdict::Kind::Font || !verdict.samples.isEmpty())) {
        previewWanted_.remove(row);
        openPreview(row, verdict);
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
        if (!verdicts_.contains(text) && !reading_.contains(text)) {
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
    reading_.clear();
    previewWanted_.clear();
    readingInIdleTime_ = false;
}

}  // namespace kestrix::details
