#include "ui/lazy_icon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

#include <optional>

namespace kestrix::ui {

namespace {

// Paints as Qt's icon of images does: the pixmap for the rectangle in device pixels, drawn into
// it.
class PixmapIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPaintDevice* device = painter->device();
        const qreal scale =
            device != nullptr ? device->devicePixelRatio() : qGuiApp->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }
};

// Qt's icon of image files, given each file only when a size first needs it.
class DrawnIconEngine final : public PixmapIconEngine {
public:
    explicit DrawnIconEngine(std::map<int, QString> files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return read(drawingFor(size)).pixmap(size, 1.0, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const int side = drawingFor(size);
        QSize actual(side, side);
        if (side > size.width() || side > size.height()) {
            actual.scale(size, Qt::KeepAspectRatio);
        }
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const auto& [side, file] : files_) {
                sizes << QSize(side, side);
            }
        }
        return sizes;
    }

    [[nodiscard]] QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

private:
    // The drawing Qt picks for a size: the smallest that covers its area, or the largest where
    // none does.
    [[nodiscard]] int drawingFor(QSize size) const {
        const qint64 area = qint64{size.width()} * size.height();
        for (const auto& [side, file] : files_) {
            if (qint64{side} * side >= area) {
                return side;
            }
        }
        return files_.rbegin()->first;
    }

    // Qt's icon of the files read so far, which holds the drawing of the given side.
    const QIcon& read(int side) {
        if (const QSize drawn(side, side); !read_.availableSizes().contains(drawn)) {
            read_.addFile(files_.at(side), drawn);
        }
        return read_;
    }

    std::map<int, QString> files_;
    QIcon read_;
};

class DeferredIconEngine final : public PixmapIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }

    // An icon of images gives its pixmaps at their actual size.
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }

    bool isNull() override { return icon().isNull(); }

    [[nodiscard]] QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& icon() {
        if (!icon_) {
            icon_ = make_();
        }
        return *icon_;
    }

    std::function<QIcon()> make_;
    std::optional<QIcon> icon_;
};

}  // namespace

QIcon drawnIcon(std::map<int, QString> drawings) {
    return QIcon(new DrawnIconEngine(std::move(drawings)));
}

QIcon deferredIcon(std::function<QIcon()> make) {
    return QIcon(new DeferredIconEngine(std::move(make)));
}

}  // namespace kestrix::ui
