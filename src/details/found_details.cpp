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

void FoundDetails::read(const QString& row, bool withSamples) {
    const platform::ResolvedPath path = drives_.resolve(row);
    ++reading_[row];
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
    if (--*pending == 0) {
        reading_.erase(pending);
    }
    if (verdict.kind == FontVerdict::Kind::NoReader) {
        readingInIdleTime_ = false;  // every other file would fail alike
    }
    FontVerdict names = verdict;
    names.samples.clear();
    verdicts_.insert(row, names);
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
    const auto verdict = verdicts_.find(row);
    const platform::ResolvedPath path = drives_.resolve(row);
    list_.setRowDescription(
        index,
        describeRow(
            row, verdict == verdicts_.end() ? std::nullopt : std::optional<FontVerdict>(*verdict),
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
