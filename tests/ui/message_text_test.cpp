#include "ui/message_text.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QTextLayout>

namespace kestrix::ui {
namespace {

QString readable(QString text) {
    return text.remove(QChar(0x2060)).remove(QChar(0x200B));
}

// The lines Qt's text layout makes of `text` at `width` pixels, as a person reads them.
QStringList layOut(const QString& text, int width) {
    QTextLayout layout(text, QApplication::font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << readable(text.mid(line.textStart(), line.textLength())).trimmed();
    }
    layout.endLayout();
    return lines;
}

TEST(KeepPathsWhole, BreaksAPathOnlyWhereALineMust) {
    const QFontMetrics metrics(QApplication::font());
    const QStringList paths = {QStringLiteral("C:\\WINDOWS\\Fonts\\my-font.ttf"),
                               QStringLiteral("(/home/a-user/.config/kestrix/Info.ini)")};
    const QString text = QStringLiteral("Kestrix could not save its count of deleted fonts in ") +
                         paths[1] + QStringLiteral(" nor remove ") + paths[0] +
                         QStringLiteral(": the file is read-only.");
    const QString marked = keepPathsWhole(text, metrics, 400);
    EXPECT_EQ(readable(marked), text);
    int widest = 0;
    for (const auto& path : paths) {
        widest = std::max(widest, metrics.horizontalAdvance(path));
    }
    for (int width = widest + 2; width < metrics.horizontalAdvance(text); width += 5) {
        const QStringList lines = layOut(marked, width);
        for (const auto& path : paths) {
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](const QString& line) { return line.contains(path); }))
                << path.toStdString() << " broken at " << width
                << " pixels: " << lines.join(u'|').toStdString();
        }
    }

    // Too long for one line: broken after separators, each line as full as it can be.
    QString deep = QStringLiteral("/home/a-user");
    for (int level = 1; level <= 12; ++level) {
        deep += QStringLiteral("/folder-%1").arg(level);
    }
    const int width = metrics.horizontalAdvance(deep) / 3;
    const QStringList lines = layOut(keepPathsWhole(deep, metrics, width), width);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()), deep);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith(u'/')) << lines[i].toStdString();
        const QString nextName = lines[i + 1].section(u'/', 0, 0) + u'/';
        EXPECT_GE(metrics.horizontalAdvance(lines[i] + nextName), width) << lines[i].toStdString();
    }
}

}  // namespace
}  // namespace kestrix::ui
