#include "ui/message_text.h"
#include "support/modal_answers.h"
#include "ui/message_box.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>

namespace kestrix::ui {
namespace {

const QStringList paths = {QStringLiteral("C:\\WINDOWS\\Fonts\\my-font.ttf"),
                           QStringLiteral("(/home/a-user/.config/kestrix/Info.ini)"),
                           QStringLiteral("http://example.org/a/b?c=d")};
const QString text = QStringLiteral("Kestrix could not save its count of deleted fonts in ") +
                     paths[1] + QStringLiteral(" nor remove ") + paths[0] +
                     QStringLiteral(": the file is read-only. See ") + paths[2] +
                     QStringLiteral(" or run\nkestrix --prefix PATH");

TEST(WrapLines, BreaksOnlyAtSpacesWhilePathsFitAndAfterSeparatorsWhereTheyDoNot) {
    const QFontMetrics metrics(QApplication::font());
    int widest = 0;
    for (const auto& path : paths) {
        widest = std::max(widest, metrics.horizontalAdvance(path));
    }
    for (int width = widest; width < metrics.horizontalAdvance(text); width += 7) {
        const QStringList lines = wrapLines(text, metrics, width);
        EXPECT_EQ(lines.join(u' '), QString(text).replace(u'\n', u' ')) << width;
        for (const auto& line : lines) {
            EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
        }
        for (const auto& word : QString(text).split(QRegularExpression(QStringLiteral("\\s")))) {
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](const QString& line) { return line.contains(word); }))
                << word.toStdString() << " broken at " << width
                << " pixels: " << lines.join(u'|').toStdString();
        }
    }
    EXPECT_EQ(wrapLines(QStringLiteral("a\r\n(b)\n\nc"), metrics, 1000),
              QStringList({"a", "(b)", "", "c"}));

    // Too long for one line: broken after separators, each line as full as it can be.
    QString deep = QStringLiteral("/home/a-user");
    for (int level = 1; level <= 12; ++level) {
        deep += QStringLiteral("/folder-%1").arg(level);
    }
    const int width = metrics.horizontalAdvance(deep) / 3;
    const QStringList lines = wrapLines(QStringLiteral("In ") + deep, metrics, width);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.front(), QStringLiteral("In"));
    EXPECT_EQ(lines.mid(1).join(QString()), deep);
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith(u'/')) << lines[i].toStdString();
        const QString nextName = lines[i + 1].section(u'/', 0, 0) + u'/';
        EXPECT_GT(metrics.horizontalAdvance(lines[i] + nextName), width) << lines[i].toStdString();
    }
    // A name wider than a line breaks where it must.
    const QString name = QStringLiteral("a-font-file-name-that-is-too-long.ttf");
    const int third = metrics.horizontalAdvance(name) / 3;
    const QStringList parts = wrapLines(name, metrics, third);
    EXPECT_GE(parts.size(), 3);
    EXPECT_EQ(parts.join(QString()), name);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        EXPECT_GT(metrics.horizontalAdvance(parts[i] + parts[i + 1].front()), third);
    }
}

TEST(KeepWordsWhole, ShowsTheLinesWhileTheBoxHoldsTheTextExactly) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrix"), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    const int width = 300;
    keepWordsWhole(box, width);
    box.show();
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);

    EXPECT_EQ(box.text(), text);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), text);
    // What the box shows is what a label holding those lines shows.
    const QStringList lines = wrapLines(text, label->fontMetrics(), width);
    ASSERT_GE(lines.size(), 3);
    QLabel shown(lines.join(u'\n'));
    shown.setFont(label->font());
    shown.setPalette(label->palette());
    shown.setAlignment(label->alignment());
    shown.setContentsMargins(label->contentsMargins());
    shown.setFixedSize(label->size());
    const auto pixels = [](QWidget& widget) {
        return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(pixels(*label), pixels(shown));
    EXPECT_LE(label->width(),
              width + label->contentsMargins().left() + label->contentsMargins().right());
}

TEST(ShowFailure, KeepsAReportOfManyRowsOnTheScreenWithEveryLineInIt) {
    QString report = QStringLiteral("These fonts were not removed:\n");
    for (int row = 1; row <= 300; ++row) {
        report += QStringLiteral("\nC:\\WINDOWS\\Fonts\\Font%1.ttf: access denied").arg(row);
    }
    test::ModalAnswers answers;
    answers.answer(QMessageBox::Ok);
    showFailure(nullptr, report);

    ASSERT_EQ(answers.shown().size(), 1U);
    EXPECT_EQ(answers.shown()[0].text, report);
    EXPECT_TRUE(answers.shown()[0].inSight);
    EXPECT_TRUE(answers.shown()[0].readable);
}

}  // namespace
}  // namespace kestrix::ui
