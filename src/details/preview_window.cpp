#include "details/preview_window.h"

#include "details/details_text.h"
#include "details/font_file.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

#include <QFontDatabase>
#include <QGridLayout>

namespace kestrix::details {

namespace {

QString fileName(const QString& row) {
    return row.mid(row.lastIndexOf(u'\\') + 1);
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& row, const FontVerdict& verdict, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(fileName(row) + QStringLiteral(" - Preview"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/font.xpm")));
    setFont(ui::designFont());
    constexpr int widthTwips = 9000;
    setFixedWidth(ui::pixels(widthTwips));
    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    const QStringList lines = verdictLines(verdict);
    const QStringList names{QStringLiteral("lblFamily"), QStringLiteral("lblStyle")};
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = verdict.kind == FontVerdict::Kind::Font
                                 ? names.value(i)
                                 : QStringLiteral("lblNotReadable");
        layout->addWidget(ui::wrappingLabel(this, name, lines[i]), i, 0, 1, 2);
    }
    if (verdict.kind == FontVerdict::Kind::Font && !addSamples(verdict)) {
        layout->addWidget(
            ui::wrappingLabel(
                this, QStringLiteral("lblNotReadable"),
                QStringLiteral("The font cannot be drawn: the font engine refused it.")),
            layout->rowCount(), 0, 1, 2);
    }
    ui::closeOnEscape(*this);
    setFixedHeight(layout->totalHeightForWidth(width()));
}

PreviewWindow::~PreviewWindow() {
    if (fontId_ >= 0) {
        QFontDatabase::removeApplicationFont(fontId_);
    }
}

bool PreviewWindow::addSamples(const FontVerdict& verdict) {
    fontId_ = QFontDatabase::addApplicationFontFromData(verdict.bytes);
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId_);
    if (families.isEmpty()) {
        return false;
    }
    auto* layout = static_cast<QGridLayout*>(this->layout());
    const QMargins margins = layout->contentsMargins();
    const int sampleRoom = width() - margins.left() - margins.right() - layout->spacing() -
                           QFontMetrics(font()).horizontalAdvance(QStringLiteral("28 pt"));
    for (const int points : samplePointSizes) {
        const int row = layout->rowCount();
        auto* size = ui::wrappingLabel(this, QStringLiteral("lblSize%1").arg(points),
                                       QStringLiteral("%1 pt").arg(points));
        QFont font(families.front());
        font.setStyleName(verdict.style);
        font.setPointSize(points);
        auto* sample =
            ui::wrappingLabel(this, QStringLiteral("lblSample%1").arg(points), sampleText);
        sample->setFont(font);
        // Breaking lines measures bearings, which bitmap fonts lack (and Qt warns of each time);
        // a line that fits needs no breaking.
        sample->setWordWrap(QFontMetrics(font).horizontalAdvance(sampleText) > sampleRoom);
        layout->addWidget(size, row, 0);
        layout->addWidget(sample, row, 1);
    }
    return true;
}

}  // namespace kestrix::details
