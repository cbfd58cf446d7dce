#include "ui/program_icon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

#include <array>

namespace kestrix::ui {

namespace {

constexpr std::array drawnSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// The drawing Qt's icon of image files picks for a size: the smallest that covers its area, or
// the largest where none does.
int drawingFor(QSize size) {
    const qint64 area = qint64{size.width()} * size.height();
    for (const int drawn : drawnSizes) {
        if (qint64{drawn} * drawn >= area) {
            return drawn;
        }
    }
    return drawnSizes.back();
}

// Qt's icon of image files, given each drawing only when a size first needs it: reading all of
// them took a sixth of the start-up.
class ProgramIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return drawingsFor(size).pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPaintDevice* device = painter->device();
        const qreal scale =
            device != nullptr ? device->devicePixelRatio() : qGuiApp->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const int drawn = drawingFor(size);
        QSize actual(drawn, drawn);
        if (drawn > size.width() || drawn > size.height()) {
            actual.scale(size, Qt::KeepAspectRatio);
        }
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const int drawn : drawnSizes) {
                sizes << QSize(drawn, drawn);
            }
        }
        return sizes;
    }

    [[nodiscard]] QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

private:
    QIcon& drawingsFor(QSize size) {
        const int side = drawingFor(size);
        const QSize drawn(side, side);
        if (!drawings_.availableSizes().contains(drawn)) {
            drawings_.addFile(QStringLiteral(":/icons/kestrix-%1.png").arg(drawn.width()), drawn);
        }
        return drawings_;
    }

    QIcon drawings_;
};

}  // namespace

QIcon programIcon() {
    return QIcon(new ProgramIconEngine);
}

}  // namespace kestrix::ui
