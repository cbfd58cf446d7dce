#include "ui/message_text.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace kestrix::ui {

namespace {

constexpr QChar wordJoiner(0x2060);
constexpr QChar zeroWidthSpace(0x200B);

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

// Where the text layout may break the word: its line-break opportunities.
std::vector<bool> layoutBreaks(const QString& word) {
    std::vector<bool> breaks(word.size() + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, word);
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
        breaks[at] = true;
    }
    return breaks;
}

// Where a path too wide for a line may break: after each separator, and anywhere in a name
// that does not fit on a line by itself.
std::vector<bool> neededBreaks(const QString& path, const QFontMetrics& metrics, int lineWidth) {
    std::vector<bool> breaks(path.size() + 1, false);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path[i])) {
            continue;
        }
        const qsizetype end = std::min(i + 1, path.size());
        const bool nameTooWide =
            metrics.horizontalAdvance(path.mid(start, end - start)) > lineWidth;
        for (qsizetype at = start + 1; at <= end; ++at) {
            breaks[at] = nameTooWide || at == end;
        }
        start = end;
    }
    return breaks;
}

QString keepPathWhole(const QString& path, const QFontMetrics& metrics, int lineWidth) {
    const std::vector<bool> layout = layoutBreaks(path);
    std::vector<bool> allowed(path.size() + 1, false);
    if (metrics.horizontalAdvance(path) > lineWidth) {
        allowed = neededBreaks(path, metrics, lineWidth);
    }
    QString marked;
    for (qsizetype at = 0; at < path.size(); ++at) {
        if (at > 0 && layout[at] != allowed[at]) {
            marked += allowed[at] ? zeroWidthSpace : wordJoiner;
        }
        marked += path[at];
    }
    return marked;
}

}  // namespace

QString keepPathsWhole(const QString& text, const QFontMetrics& metrics, int lineWidth) {
    static const QRegularExpression word(QStringLiteral("\\S+"));
    QString marked;
    qsizetype done = 0;
    for (const auto& match : word.globalMatch(text)) {
        const QString w = match.captured();
        marked += text.mid(done, match.capturedStart() - done);
        const bool isPath = std::any_of(w.begin(), w.end(), isSeparator);
        marked += isPath ? keepPathWhole(w, metrics, lineWidth) : w;
        done = match.capturedEnd();
    }
    return marked + text.mid(done);
}

}  // namespace kestrix::ui
