#pragma once

#include "details/font_reader.h"
#include "details/preview_window.h"
#include "platform/drive_map.h"
#include "ui/found_list.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

namespace kestrix::details {

// Tells the user which font each row of the found list is: the row's tooltip and accessible
// description, and the Preview of its context menu. A row's font is read when the row is first
// hovered or previewed, again when it is hovered after its file has changed, and every row's in
// idle time once a scan has finished; never during a scan's tick. The font reader reads each
// file once and closes it at once. Only a preview has the font drawn: a row tells the names that
// were read, even of a font the engine cannot draw.
class FoundDetails : public QObject {
    Q_OBJECT
public:
    // reader: the font reader's executable.
    FoundDetails(ui::FoundList& list, platform::DriveMap drives, const QString& reader,
                 QObject* parent);

    // Reads the rows' fonts one after another, each as soon as the reader is free.
    void scanFinished();
    // The row's file is gone: its preview closes.
    void fileRemoved(const QString& row);

private:
    void rowHovered(int row);
    void previewAsked(int row);
    void verdictRead(const QString& request, const FontVerdict& verdict);
    void read(const QString& row, bool withSamples);
    [[nodiscard]] bool beingRead(const QString& row) const;
    void describe(const QString& row);
    void readNextRowInIdleTime();
    void openPreview(const QString& row, const FontVerdict& verdict);
    // The list was emptied: what was read belongs to files that may change before they are
    // listed again.
    void forgetRows();

    // What a file was when it was read: another size or date means another file.
    struct FileStamp {
        qint64 size = 0;
        QDateTime modified;
        QDateTime changed;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Known {
        FontVerdict verdict;  // without the samples
        FileStamp stamp;
    };
    struct Request {
        QString row;
        FileStamp stamp;
        bool withSamples = false;
    };
    [[nodiscard]] static FileStamp stampOf(const QString& hostPath);

    ui::FoundList& list_;
    platform::DriveMap drives_;
    FontReader reader_;
    QHash<QString, Known> verdicts_;  // by row
    // The requests sent and not yet answered, by a key of their own: a verdict is only ever
    // taken for the request it answers.
    QHash<QString, Request> asked_;
    quint64 lastRequest_ = 0;
    QSet<QString> previewWanted_;
    QHash<QString, PreviewWindow*> previews_;  // open ones; each leaves when destroyed
    bool readingInIdleTime_ = false;
    int idleRow_ = 0;
};

}  // namespace kestrix::details
