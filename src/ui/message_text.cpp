#include "ui/message_text.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <vector>

namespace kestrix::ui {

namespace {

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

// A word too wide for a line, in pieces that each fit: each as long as fits, ending after its
// last separator where it holds one, between characters where it holds none. A character wider
// than a line is a piece of its own.
QStringList piecesOf(const QString& word, const QFontMetrics& metrics, int lineWidth) {
    std::vector<qsizetype> ends;  // where each character ends
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word);
    for (qsizetype at = characters.toNextBoundary(); at != -1; at = characters.toNextBoundary()) {
        ends.push_back(at);
    }
    const auto fits = [&](qsizetype start, qsizetype end) {
        return metrics.horizontalAdvance(word.mid(start, end - start)) <= lineWidth;
    };
    QStringList pieces;
    qsizetype start = 0;
    for (std::size_t first = 0; first < ends.size();) {
        std::size_t last = first;
        while (last + 1 < ends.size() && fits(start, ends[last + 1])) {
            ++last;
        }
        std::size_t cut = last;
        for (std::size_t at = last + 1; ends[last] != word.size() && at-- > first;) {
            if (isSeparator(word[ends[at] - 1])) {
                cut = at;
                break;
            }
        }
        pieces << word.mid(start, ends[cut] - start);
        start = ends[cut];
        first = cut + 1;
    }
    return pieces;
}

QStringList wrapParagraph(const QString& paragraph, const QFontMetrics& metrics, int lineWidth) {
    static const QRegularExpression wordAndSpaceBefore(QStringLiteral("(\\s*)(\\S+)"));
    QStringList lines;
    QString line;
    for (const auto& match : wordAndSpaceBefore.globalMatch(paragraph)) {
        const QString word = match.captured(2);
        const QString longer = line + match.captured(1) + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) <= lineWidth) {
            line = longer;
            continue;
        }
        if (!line.isEmpty()) {
            lines << line;
        }
        QStringList pieces = metrics.horizontalAdvance(word) <= lineWidth
                                 ? QStringList{word}
                                 : piecesOf(word, metrics, lineWidth);
        line = pieces.takeLast();
        lines << pieces;
    }
    return lines << line;
}

// Paints the label's text in the lines given, and keeps the label the size they take.
class LinesLayout : public QObject {
public:
    LinesLayout(QLabel& label, QStringList lines)
        : QObject(&label), label_(label), shown_(lines.join(u'\n')) {
        const QRect needed = label.fontMetrics().boundingRect(QRect(), flags(), shown_);
        const QMargins margins = label.contentsMargins();
        label.setFixedSize(needed.width() + margins.left() + margins.right(),
                           needed.height() + margins.top() + margins.bottom());
        label.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &label_ || event->type() != QEvent::Paint) {
            return false;
        }
        QPainter painter(&label_);
        label_.style()->drawItemText(&painter, label_.contentsRect(), flags(), label_.palette(),
                                     label_.isEnabled(), shown_, label_.foregroundRole());
        return true;
    }

private:
    [[nodiscard]] int flags() const {
        return static_cast<int>(
                   QStyle::visualAlignment(label_.layoutDirection(), label_.alignment())) |
               Qt::TextExpandTabs;
    }

    QLabel& label_;
    QString shown_;
};

}  // namespace

QStringList wrapLines(const QString& text, const QFontMetrics& metrics, int lineWidth) {
    static const QRegularExpression lineEnd(QStringLiteral("\\r\\n|\\r|\\n"));
    QStringList lines;
    for (const QString& paragraph : text.split(lineEnd)) {
        lines << wrapParagraph(paragraph, metrics, lineWidth);
    }
    return lines;
}

void keepWordsWhole(QMessageBox& box, int lineWidth) {
    // The box's own label, which holds the text: where a Qt without it shows the text its own
    // way, the text is still the same.
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label != nullptr) {
        new LinesLayout(*label, wrapLines(box.text(), label->fontMetrics(), lineWidth));
    }
}

}  // namespace kestrix::ui
