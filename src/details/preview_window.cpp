#include "details/preview_window.h"

#include "details/details_text.h"
#include "details/font_sample.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace kestrix::details {

namespace {

QString fileName(const QString& row) {
    return row.mid(row.lastIndexOf(u'\\') + 1);
}

// An alpha mask drawn in `colour`, at the size in logical pixels it was drawn for.
QPixmap inked(const QImage& mask, const QColor& colour) {
    QImage inked(mask.size(), QImage::Format_ARGB32_Premultiplied);
    inked.fill(colour);
    QPainter painter(&inked);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, mask);
    painter.end();
    inked.setDevicePixelRatio(static_cast<qreal>(mask.width()) / sampleWidth);
    return QPixmap::fromImage(std::move(inked));
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
    if (verdict.kind == FontVerdict::Kind::Font) {
        addSamples(verdict.samples);
    }
    ui::closeOnEscape(*this);
    setFixedHeight(layout->totalHeightForWidth(width()));
}

void PreviewWindow::addSamples(const QList<QImage>& samples) {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    const QColor ink = palette().color(QPalette::WindowText);
    for (qsizetype i = 0; i < samples.size() && i < std::ssize(samplePointSizes); ++i) {
        const int points = samplePointSizes[static_cast<std::size_t>(i)];
        const int row = layout->rowCount();
        layout->addWidget(ui::wrappingLabel(this, QStringLiteral("lblSize%1").arg(points),
                                            QStringLiteral("%1 pt").arg(points)),
                          row, 0, Qt::AlignTop);
        auto* sample = new QLabel(this);
        sample->setObjectName(QStringLiteral("lblSample%1").arg(points));
        sample->setPixmap(inked(samples[i], ink));
        sample->setAccessibleName(sampleText);
        layout->addWidget(sample, row, 1, Qt::AlignTop | Qt::AlignLeft);
    }
}

}  // namespace kestrix::details
