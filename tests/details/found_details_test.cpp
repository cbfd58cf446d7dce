#include "app/kestrix_window.h"
#include "app/program.h"
#include "details/font_sample.h"
#include "support/event_loop_gaps.h"
#include "support/files.h"
#include "support/links.h"
#include "support/modal_answers.h"
#include "support/scoped_variable.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QRawFont>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QtMath>
#include <random>

namespace kestrix::details {
namespace {

const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
const QString courier = QStringLiteral("/usr/share/wine/fonts/coure.fon");
const QDateTime modified(QDate(2021, 3, 4), QTime(17, 6));

// Fonts made for these tests (make_fonts.py): glyphs that are bars of many heights.
QString madeFont(const char* name) {
    return QStringLiteral(KESTRIX_TEST_FONTS "/") + QLatin1String(name);
}
// One that calls itself the installed DejaVu Sans; one whose shaping swaps "T" for a glyph far
// larger than any screen.
const QString impostor = madeFont("impostor.ttf");
const QString shapingBomb = madeFont("shaping-bomb.ttf");

QString row(const QString& name) {
    return QStringLiteral("C:\\WINDOWS\\Fonts\\") + name;
}

QByteArray randomBytes(int size) {
    std::mt19937 random(11);
    QByteArray bytes(size, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

QString sizeLine(const QString& file) {
    return QStringLiteral("Size: %1 bytes").arg(QLocale().toString(QFileInfo(file).size()));
}

// How much ink each pixel of `image` holds, from 0 on `paper` to 255 in `ink`.
QImage inkOf(const QImage& image, const QColor& paper, const QColor& ink) {
    QImage amounts(image.size(), QImage::Format_Grayscale8);
    const int blank = qGray(paper.rgb());
    const int full = blank - qGray(ink.rgb());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            amounts.scanLine(y)[x] =
                static_cast<uchar>(qBound(0, (blank - qGray(image.pixel(x, y))) * 255 / full, 255));
        }
    }
    return amounts;
}

// The smallest part of an ink image that holds all its ink.
QImage inkedPart(const QImage& amounts) {
    QRect inked;
    for (int y = 0; y < amounts.height(); ++y) {
        for (int x = 0; x < amounts.width(); ++x) {
            if (amounts.constScanLine(y)[x] > 0) {
                inked |= QRect(x, y, 1, 1);
            }
        }
    }
    return amounts.copy(inked);
}

// The sample line at `points` drawn straight from a font file's glyphs, each character's glyph
// at the advance the file gives it: the ink of it.
QImage drawnFrom(const QString& file, int points) {
    const QRawFont font(test::contentOf(file), pixelSize(points));
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(font.glyphIndexesForString(sampleText));
    QList<QPointF> positions;
    QPointF pen;
    for (const QPointF& advance : font.advancesForGlyphIndexes(run.glyphIndexes())) {
        positions << pen;
        pen += advance;
    }
    run.setPositions(positions);
    QImage image(qCeil(pen.x()) + 2, qCeil(font.ascent() + font.descent()) + 2,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawGlyphRun(QPointF(1, qCeil(font.ascent()) + 1), run);
    painter.end();
    return inkedPart(inkOf(image, Qt::white, Qt::black));
}

// How many pixels of two ink images differ by more than a quarter of full ink; every pixel of
// the larger when they differ in size.
qsizetype differing(const QImage& one, const QImage& other) {
    if (one.size() != other.size()) {
        return std::max(one.width() * one.height(), other.width() * other.height());
    }
    qsizetype count = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            count += std::abs(one.constScanLine(y)[x] - other.constScanLine(y)[x]) > 64;
        }
    }
    return count;
}

// A program on a temporary drive that holds real font files and files that are not fonts, with
// the font reader built beside the tests.
class FontDetailsTest : public testing::Test {
protected:
    FontDetailsTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        addFile(QStringLiteral("DejaVuSans-Bold.ttf"), test::contentOf(dejaVu));
        addFile(QStringLiteral("wine-coure.fon"), test::contentOf(courier));
        addFile(QStringLiteral("random.ttf"), randomBytes(5000));
        addFile(QStringLiteral("empty.ttf"), QByteArray());
        addFile(QStringLiteral("fish&amp;chips.ttf"), QByteArray());
        for (const char* made :
             {"impostor.ttf", "cyrillic-only.ttf", "three-languages.ttf", "greek-and-english.ttf",
              "shaping-bomb.ttf", "slow-drawing.ttf", "tall-sample.ttf"}) {
            addFile(QLatin1String(made), test::contentOf(madeFont(made)));
        }
        // Its size says 0; it holds gigabytes. (Windows has no such file, and Wine makes no
        // links.)
        pagemapLinked_ = QFileInfo::exists(QStringLiteral("/proc/self/pagemap")) &&
                         !test::symbolicLink(QStringLiteral("/proc/self/pagemap"),
                                             drive_.fontsFolder() + QStringLiteral("/pagemap.ttf"));
        app::Environment environment{drive_.drives(), drive_.appPath()};
        environment.fontReader = QStringLiteral(KESTRIX_FONT_READER);
        program_ = std::make_unique<app::Program>(environment);
    }

    ~FontDetailsTest() override {
        EXPECT_TRUE(answers_.allAnswered());
        EXPECT_EQ(answers_.unexpected(), 0);
        program_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void addFile(const QString& name, const QByteArray& bytes) {
        QFile file(drive_.addFont(name, bytes));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    app::FrmKestrix& startAndScan() {
        program_->start();
        app::FrmKestrix& w = *program_->frmKestrix;
        w.cmdScan->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.cmdScan->isEnabled(); }, 20000));
        EXPECT_EQ(w.lstFonts->rowCount(), 12 + (pagemapLinked_ ? 1 : 0));
        return w;
    }

    static int rowOf(const app::FrmKestrix& w, const QString& name) {
        const int index = w.lstFonts->rowOf(row(name));
        EXPECT_GT(index, 0) << name.toStdString();
        return index;
    }

    static QPoint centreOf(const app::FrmKestrix& w, int index) {
        return w.lstFonts->visualItemRect(w.lstFonts->item(index - 1)).center();
    }

    static void hover(const app::FrmKestrix& w, int index) {
        const QPoint at = centreOf(w, index);
        QHelpEvent event(QEvent::ToolTip, at, w.lstFonts->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w.lstFonts->viewport(), &event);
    }

    // Chooses Preview from the row's context menu, opened by a right click or the Menu key.
    static void choosePreview(app::FrmKestrix& w, const QString& name, bool byMouse) {
        const int index = rowOf(w, name);
        if (byMouse) {
            const QPoint at = centreOf(w, index);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    w.lstFonts->viewport()->mapToGlobal(at));
            QApplication::sendEvent(w.lstFonts->viewport(), &event);
        } else {
            w.lstFonts->setCurrentRow(index - 1);
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QPoint());
            QApplication::sendEvent(w.lstFonts, &event);
        }
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("Preview"));
        menu->actions().front()->trigger();
        menu->close();
    }

    static QWidget* previewOf(const QString& name) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QStringLiteral("frmPreview") && window->isVisible() &&
                window->windowTitle() == name + QStringLiteral(" - Preview")) {
                return window;
            }
        }
        return nullptr;
    }

    static QWidget* waitForPreview(const QString& name) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return previewOf(name) != nullptr; }, 20000));
        return previewOf(name);
    }

    static QString labelText(const QWidget* window, const QString& name) {
        const auto* label = window->findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }

    test::TempDrive drive_;
    bool pagemapLinked_ = false;
    test::ModalAnswers answers_;
    std::unique_ptr<app::Program> program_;
};

TEST_F(FontDetailsTest, EveryRowTellsWhichFontItIsOnceTheScanHasFinished) {
    // Names come in the user's language where the font has it, else in English, else in any.
    const test::ScopedVariable russian("LANGUAGE", "ru");
    app::FrmKestrix& w = startAndScan();
    const QString date = QStringLiteral("Modified: 3/4/21 5:06 PM");
    const auto made = [&](const char* name, const char* family, const char* style) {
        return std::pair<QString, QStringList>{
            QLatin1String(name),
            {QStringLiteral("Family: ") + QString::fromUtf8(family),
             QStringLiteral("Style: ") + QString::fromUtf8(style), sizeLine(madeFont(name)), date}};
    };
    const std::vector<std::pair<QString, QStringList>> expected = {
        {QStringLiteral("DejaVuSans-Bold.ttf"),
         {QStringLiteral("Family: DejaVu Sans"), QStringLiteral("Style: Bold"), sizeLine(dejaVu),
          date}},
        {QStringLiteral("wine-coure.fon"),
         {QStringLiteral("Family: Courier"), QStringLiteral("Style: Regular"), sizeLine(courier),
          date}},
        {QStringLiteral("random.ttf"),
         {QStringLiteral("Not a readable font file: the font engine does not recognise it as a "
                         "font"),
          QStringLiteral("Size: 5,000 bytes"), date}},
        {QStringLiteral("empty.ttf"),
         {QStringLiteral("Not a readable font file: the file is empty"),
          QStringLiteral("Size: 0 bytes"), date}},
        {QStringLiteral("fish&amp;chips.ttf"),
         {QStringLiteral("Not a readable font file: the file is empty"),
          QStringLiteral("Size: 0 bytes"), date}},
        made("impostor.ttf", "DejaVu Sans", "Book"),
        made("cyrillic-only.ttf", "Проба", "Обычный"),
        // Windows takes the user's language from its own settings, not from the environment.
        QLocale::system().uiLanguages().front().startsWith(QStringLiteral("ru"))
            ? made("three-languages.ttf", "Образец", "Обычный")
            : made("three-languages.ttf", "Sample", "Regular"),
        made("greek-and-english.ttf", "Sample", "Regular"),
        // Fonts the engine cannot draw, or takes minutes over: their names are read alone.
        made("shaping-bomb.ttf", "Shaping Bomb", "Regular"),
        made("slow-drawing.ttf", "Slow Drawing", "Regular"),
        made("tall-sample.ttf", "Tall Sample", "Regular"),
    };
    // Read in idle time after the scan, no row hovered.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = 1; i <= w.lstFonts->rowCount(); ++i) {
                const QString description = w.lstFonts->rowDescription(i);
                if (description.isEmpty() || description.contains(QStringLiteral("Reading"))) {
                    return false;
                }
            }
            return true;
        },
        20000));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.lstFonts);
    ASSERT_NE(list, nullptr);
    if (pagemapLinked_) {
        const QString pagemap = w.lstFonts->rowDescription(rowOf(w, QStringLiteral("pagemap.ttf")));
        // Refused by the read itself, before a byte past its size: pagemap answers only reads
        // of whole entries.
        EXPECT_TRUE(
            pagemap.contains(QStringLiteral("\nNot a readable font file: it cannot be read: ")))
            << pagemap.toStdString();
    }
    for (const auto& [name, lines] : expected) {
        const int index = rowOf(w, name);
        const QString text = (QStringList{row(name)} + lines).join(u'\n');
        EXPECT_EQ(w.lstFonts->rowDescription(index), text);
        EXPECT_EQ(list->child(index - 1)->text(QAccessible::Description), text);
        hover(w, index);
        ASSERT_TRUE(QToolTip::isVisible()) << name.toStdString();
        QTextDocument shown;
        shown.setHtml(QToolTip::text());
        EXPECT_EQ(shown.toPlainText(), text);  // markup in a name stays text
        QToolTip::hideText();
    }
}

TEST_F(FontDetailsTest, PreviewShowsTheFontsNamesAndSampleUntilEscape) {
    app::FrmKestrix& w = startAndScan();
    const struct {
        QString name;
        QString family;
        QString style;
        bool byMouse;
    } fonts[] = {
        {QStringLiteral("DejaVuSans-Bold.ttf"), QStringLiteral("DejaVu Sans"),
         QStringLiteral("Bold"), true},
        {QStringLiteral("wine-coure.fon"), QStringLiteral("Courier"), QStringLiteral("Regular"),
         false},
        {QStringLiteral("tall-sample.ttf"), QStringLiteral("Tall Sample"),
         QStringLiteral("Regular"), true},
    };
    for (const auto& font : fonts) {
        choosePreview(w, font.name, font.byMouse);
        QPointer<QWidget> preview = waitForPreview(font.name);
        ASSERT_TRUE(preview);
        EXPECT_EQ(labelText(preview, QStringLiteral("lblFamily")),
                  QStringLiteral("Family: ") + font.family);
        EXPECT_EQ(labelText(preview, QStringLiteral("lblStyle")),
                  QStringLiteral("Style: ") + font.style);
        for (const char* sample : {"lblSample12", "lblSample18", "lblSample28"}) {
            const auto* label = preview->findChild<QLabel*>(QString::fromLatin1(sample));
            ASSERT_NE(label, nullptr) << sample;
            EXPECT_FALSE(label->pixmap().isNull()) << sample;
            EXPECT_EQ(label->accessibleName(),
                      QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789"));
        }
        // However tall its sample, the window fits its screen.
        const QRect screen = preview->screen()->availableGeometry();
        EXPECT_LE(preview->frameGeometry().width(), screen.width()) << font.name.toStdString();
        EXPECT_LE(preview->frameGeometry().height(), screen.height()) << font.name.toStdString();
        EXPECT_TRUE(w.isVisible());
        preview->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
        QTest::keyClick(preview, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.isNull(); }));
    }
    choosePreview(w, QStringLiteral("random.ttf"), true);
    const QWidget* notAFont = waitForPreview(QStringLiteral("random.ttf"));
    ASSERT_NE(notAFont, nullptr);
    EXPECT_EQ(labelText(notAFont, QStringLiteral("lblNotReadable")),
              QStringLiteral(
                  "Not a readable font file: the font engine does not recognise it as a font"));
    EXPECT_EQ(notAFont->findChild<QLabel*>(QStringLiteral("lblSample12")), nullptr);
}

TEST_F(FontDetailsTest, OptimizeClosesThePreviewOfEachFileItRemoves) {
    app::FrmKestrix& w = startAndScan();
    choosePreview(w, QStringLiteral("DejaVuSans-Bold.ttf"), true);
    const QPointer<QWidget> removed = waitForPreview(QStringLiteral("DejaVuSans-Bold.ttf"));
    choosePreview(w, QStringLiteral("wine-coure.fon"), true);
    const QPointer<QWidget> kept = waitForPreview(QStringLiteral("wine-coure.fon"));
    ASSERT_TRUE(removed && kept);
    w.lstFonts->setChecked(rowOf(w, QStringLiteral("wine-coure.fon")), false);

    answers_.answer(QMessageBox::Yes);
    w.cmdRemove->click();

    EXPECT_FALSE(drive_.hasFont(QStringLiteral("DejaVuSans-Bold.ttf")));
    EXPECT_TRUE(drive_.hasFont(QStringLiteral("wine-coure.fon")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return removed.isNull(); }));
    EXPECT_TRUE(kept && kept->isVisible());
    EXPECT_EQ(w.lstFonts->rowCount(), 0);
}

TEST_F(FontDetailsTest, PreviewDrawsTheFilesOwnGlyphsNotThoseOfAnInstalledFontOfItsName) {
    app::FrmKestrix& w = startAndScan();
    choosePreview(w, QStringLiteral("impostor.ttf"), true);
    const QWidget* preview = waitForPreview(QStringLiteral("impostor.ttf"));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(labelText(preview, QStringLiteral("lblFamily")),
              QStringLiteral("Family: DejaVu Sans"));
    const QString installed = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    for (const int points : {12, 18}) {  // sizes at which the sample fits on one line
        auto* label = preview->findChild<QLabel*>(QStringLiteral("lblSample%1").arg(points));
        ASSERT_NE(label, nullptr) << points;
        const QImage shown =
            inkedPart(inkOf(label->grab().toImage(), label->palette().color(QPalette::Window),
                            label->palette().color(QPalette::WindowText)));
        const QImage own = drawnFrom(impostor, points);
        EXPECT_EQ(differing(shown, own), 0) << points;
        // The comparison tells the two fonts apart.
        EXPECT_GT(differing(shown, drawnFrom(installed, points)), own.width() * own.height() / 4)
            << points;
    }
}

TEST_F(FontDetailsTest, AFontTheEngineCannotDrawIsNotReadableAndTheWindowNeverWaitsOnIt) {
    app::FrmKestrix& w = startAndScan();
    const test::EventLoopGaps gaps;
    choosePreview(w, QStringLiteral("shaping-bomb.ttf"), true);
    QWidget* preview = waitForPreview(QStringLiteral("shaping-bomb.ttf"));
    // Painting the preview is the window's own work; only the time the reader took counts.
    const qint64 longestWait = gaps.longest();
    ASSERT_NE(preview, nullptr);
    (void)preview->grab();  // drawn whole, as it shows
    // The reader dies of its memory limit; where the system does not hold it to one (Wine), it
    // runs out of memory or of patience, whichever comes first.
    const QString notReadable = labelText(preview, QStringLiteral("lblNotReadable"));
    EXPECT_TRUE(notReadable.startsWith(
                    QStringLiteral("Not a readable font file: the font engine crashed on it")) ||
                notReadable.startsWith(
                    QStringLiteral("Not a readable font file: the font engine took longer than")))
        << notReadable.toStdString();
    EXPECT_EQ(preview->findChild<QLabel*>(QStringLiteral("lblSample12")), nullptr);
    // The row tells the names that were read.
    EXPECT_TRUE(w.lstFonts->rowDescription(rowOf(w, QStringLiteral("shaping-bomb.ttf")))
                    .contains(QStringLiteral("\nFamily: Shaping Bomb\n")));
    // Only a wait for the reader, which works on this font for half a second or more, would hold
    // the loop up this long; a busy machine's hiccups stay well below.
    EXPECT_LT(longestWait, 250);
}

TEST_F(FontDetailsTest, ARowIsReadAgainWhenItsFileHasChanged) {
    app::FrmKestrix& w = startAndScan();
    const int index = rowOf(w, QStringLiteral("DejaVuSans-Bold.ttf"));
    const auto hoveredShows = [&](const QString& family) {
        hover(w, index);
        return w.lstFonts->rowDescription(index).contains(QStringLiteral("Family: ") + family);
    };
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return hoveredShows(QStringLiteral("DejaVu Sans")); }, 20000));

    test::writeFile(drive_.fontsFolder() + QStringLiteral("/DejaVuSans-Bold.ttf"),
                    test::contentOf(courier));

    EXPECT_TRUE(QTest::qWaitFor([&] { return hoveredShows(QStringLiteral("Courier")); }, 20000));
    EXPECT_TRUE(w.lstFonts->rowDescription(index).contains(sizeLine(courier)));
    QToolTip::hideText();
}

}  // namespace
}  // namespace kestrix::details
