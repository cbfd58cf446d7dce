#pragma once

#include "details/reader_protocol.h"
#include "platform/helper_process.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <optional>

namespace kestrix::details {

// How long the font reader may take over one file before the file counts as unreadable.
inline constexpr std::chrono::seconds readerPatience{10};

// The font reader (kestrix-font-reader) installed with the program: beside the program file,
// or in the libexec folder of its installation; empty when there is none.
[[nodiscard]] QString installedFontReader();

// Has the font reader read font files, one at a time, in a process of its own that ends with
// this one and holds the least rights; each file is opened here and handed to it. A file on which
// the reader crashes or takes longer than `patience` is not a readable font; the reader is started
// again for the next file. The user-interface thread only writes requests and takes verdicts as
// they come, and lets a stopped reader end in its own time, so no frame waits on a font or on a
// reader.
class FontReader : public QObject {
    Q_OBJECT
public:
    FontReader(QString program, std::chrono::milliseconds patience, QObject* parent = nullptr);
    ~FontReader() override;

    // Queues a file; its verdict comes back with `key`.
    void request(const QString& key, const ReadRequest& request);
    // Whether no file is being read or waits to be.
    [[nodiscard]] bool idle() const { return !inFlight_ && waiting_.empty(); }

signals:
    void verdictRead(const QString& key, const kestrix::details::FontVerdict& verdict);
    // Every queued file has its verdict.
    void becameIdle();

private:
    struct Pending {
        QString key;
        ReadRequest request;
    };

    void sendNext();
    void startReader();
    void stopReader();
    void takeVerdicts();
    void readerFinished();
    void readerFailedToStart(const QString& why);
    // Gives every queued file the same verdict.
    void failAll(const FontVerdict& verdict);
    void lostPatience();
    void finish(const FontVerdict& verdict);

    QString program_;
    std::chrono::milliseconds patience_;
    platform::HelperProcess* process_ = nullptr;  // a child of this; replaced after it stops,
                                                  // and deleted once it has ended
    std::deque<Pending> waiting_;
    std::optional<Pending> inFlight_;
    QByteArray received_;
    QTimer patienceTimer_;
};

}  // namespace kestrix::details
