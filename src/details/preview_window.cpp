#include "details/preview_window.h"

#include "details/details_text.h"
#include "details/font_sample.h"
#include "platform/window_frame.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

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
    // A font may make its sample taller than any screen: what does not fit scrolls.
    auto* scrolled = new QScrollArea(this);
    scrolled->setFrameShape(QFrame::NoFrame);
    scrolled->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrolled->setWidgetResizable(true);
    auto* content = new QWidget(scrolled);
    auto* layout = new QGridLayout(content);
    layout->setColumnStretch(1, 1);
    const QStringList lines = verdictLines(verdict);
    const QStringList names{QStringLiteral("lblFamily"), QStringLiteral("lblStyle")};
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = verdict.kind == FontVerdict::Kind::Font
                                 ? names.value(i)
                                 : QStringLiteral("lblNotReadable");
        layout->addWidget(ui::wrappingLabel(content, name, lines[i]), i, 0, 1, 2);
    }
    if (verdict.kind == FontVerdict::Kind::Font) {
        addSamples(*layout, verdict.samples);
    }
    scrolled->setWidget(content);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(QMargins());
    window->addWidget(scrolled);
    ui::closeOnEscape(*this);
    const int tallest = tallestFitting();
    const int height = layout->totalHeightForWidth(width());
    if (height > tallest) {
        setFixedWidth(width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
    setFixedHeight(std::min(height, tallest));
}

int PreviewWindow::tallestFitting() {
    create();  // the frame to come is known of a window the system has made
    const QMargins frame = platform::expectedFrameMargins(*windowHandle());
    return windowHandle()->screen()->availableGeometry().height() - frame.top() - frame.bottom();
}

void PreviewWindow::addSamples(QGridLayout& layout, const QList<QImage>& samples) {
    QWidget* content = layout.parentWidget();
    const QColor ink = palette().color(QPalette::WindowText);
    for (qsizetype i = 0; i < samples.size() && i < std::ssize(samplePointSizes); ++i) {
        const int points = samplePointSizes[static_cast<std::size_t>(i)];
        const int row = layout.rowCount();
        layout.addWidget(ui::wrappingLabel(content, QStringLiteral("lblSize%1").arg(points),
                                           QStringLiteral("%1 pt").arg(points)),
                         row, 0, Qt::AlignTop);
        auto* sample = new QLabel(content);
        sample->setObjectName(QStringLiteral("lblSample%1").arg(points));
        sample->setPixmap(inked(samples[i], ink));
        sample->setAccessibleName(sampleText);
        layout.addWidget(sample, row, 1, Qt::AlignTop | Qt::AlignLeft);
    }
}

}  // namespace kestrix::details
