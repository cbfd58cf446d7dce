#include "details/reader_protocol.h"

#include "details/font_sample.h"

#include <array>
#include <cstring>

namespace kestrix::details {

namespace {

// No side of a sample is longer, nor a verdict (at the largest ratio, its samples take about
// 30 MiB at the most): more than that is no verdict.
constexpr qsizetype largestSampleSide = 8192;
constexpr qsizetype largestVerdict = 64 * 1024 * 1024;

// The next NUL-ended field from `at`, which moves past it; none while its end has not arrived.
std::optional<QByteArrayView> nextField(QByteArrayView bytes, qsizetype& at) {
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0) {
        return std::nullopt;
    }
    const QByteArrayView field = bytes.sliced(at, end - at);
    at = end + 1;
    return field;
}

// The count a field holds when it is one from 0 to `largest`; -1 otherwise.
qsizetype countIn(QByteArrayView field, qsizetype largest) {
    bool isCount = false;
    const qlonglong count = field.toLongLong(&isCount);
    return isCount && count >= 0 && count <= largest ? static_cast<qsizetype>(count) : -1;
}

QImage alphaImage(QByteArrayView pixels, int width, int height) {
    QImage image(width, height, QImage::Format_Alpha8);
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y), pixels.data() + qsizetype(y) * width,
                    static_cast<std::size_t>(width));
    }
    return image;
}

std::optional<FontVerdict> outOfTurn(QByteArray& received) {
    received.clear();
    return FontVerdict::noReader(QStringLiteral("the font reader answered out of turn"));
}

// Nothing while more of the verdict may still come.
std::optional<FontVerdict> incomplete(QByteArray& received) {
    return received.size() > largestVerdict ? outOfTurn(received) : std::nullopt;
}

}  // namespace

QByteArray encodeRequest(const ReadRequest& request) {
    return (request.withSamples ? "S" : "N") + QByteArray::number(request.pixelRatio) + ' ' +
           request.hostPath.toUtf8() + '\0';
}

ReadRequest decodeRequest(const QByteArray& request) {
    const qsizetype blank = request.indexOf(' ');
    const double ratio = request.mid(1, blank - 1).toDouble();
    return {QString::fromUtf8(request.mid(blank + 1)), request.startsWith('S'),
            qBound(smallestPixelRatio, ratio, largestPixelRatio)};
}

QByteArray encodeVerdict(const FontVerdict& verdict) {
    const bool font = verdict.kind == FontVerdict::Kind::Font;
    const QList<QImage> samples = font ? verdict.samples : QList<QImage>();
    QByteArray encoded(font ? "F" : "X");
    encoded += '\0' + (font ? verdict.family : verdict.reason).toUtf8();
    encoded += '\0' + (font ? verdict.style : QString()).toUtf8();
    encoded += '\0' + QByteArray::number(samples.size()) + '\0';
    for (const QImage& sample : samples) {
        const QImage alpha = sample.convertToFormat(QImage::Format_Alpha8);
        encoded +=
            QByteArray::number(alpha.width()) + '\0' + QByteArray::number(alpha.height()) + '\0';
        for (int y = 0; y < alpha.height(); ++y) {
            encoded.append(reinterpret_cast<const char*>(alpha.constScanLine(y)), alpha.width());
        }
    }
    return encoded;
}

std::optional<FontVerdict> takeVerdict(QByteArray& received) {
    qsizetype at = 0;
    std::array<QByteArrayView, 4> header;
    for (auto& field : header) {
        const auto next = nextField(received, at);
        if (!next) {
            return incomplete(received);
        }
        field = *next;
    }
    const qsizetype count = countIn(header[3], std::ssize(samplePointSizes));
    if (count < 0 || !(header[0] == "F" || header[0] == "X")) {
        return outOfTurn(received);
    }
    FontVerdict verdict = header[0] == "F" ? FontVerdict::font(QString::fromUtf8(header[1]),
                                                               QString::fromUtf8(header[2]))
                                           : FontVerdict::notAFont(QString::fromUtf8(header[1]));
    for (qsizetype sample = 0; sample < count; ++sample) {
        const auto width = nextField(received, at);
        const auto height = width ? nextField(received, at) : std::nullopt;
        if (!height) {
            return incomplete(received);
        }
        const qsizetype columns = countIn(*width, largestSampleSide);
        const qsizetype rows = countIn(*height, largestSampleSide);
        if (columns < 0 || rows < 0) {
            return outOfTurn(received);
        }
        if (received.size() - at < columns * rows) {
            return incomplete(received);
        }
        verdict.samples << alphaImage(QByteArrayView(received).sliced(at, columns * rows),
                                      static_cast<int>(columns), static_cast<int>(rows));
        at += columns * rows;
    }
    received.remove(0, at);
    return verdict;
}

}  // namespace kestrix::details
