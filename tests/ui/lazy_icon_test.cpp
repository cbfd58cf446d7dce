#include "ui/lazy_icon.h"
#include "ui/program_icon.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>

namespace kestrix::ui {
namespace {

QImage painted(const QIcon& icon, int side, QIcon::Mode mode) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, image.rect(), Qt::AlignCenter, mode);
    return image;
}

// Whatever size the platform asks for, an icon that reads its images when first needed gives
// what the icon it stands for gives: Qt's icon of all its files, or the style's own.
TEST(LazyIcon, GivesAtEverySizeWhatTheIconReadAtOnceGives) {
    QIcon program;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        program.addFile(QStringLiteral(":/icons/kestrix-%1.png").arg(side), QSize(side, side));
    }
    const auto& style = dynamic_cast<const QProxyStyle&>(*QApplication::style());
    const auto overflow = QStyle::SP_ToolBarHorizontalExtensionButton;
    const std::pair<QIcon, QIcon> icons[] = {
        {programIcon(), program},
        {style.standardIcon(overflow), style.baseStyle()->standardIcon(overflow)}};
    for (const auto& [icon, readAtOnce] : icons) {
        EXPECT_EQ(icon.availableSizes(), readAtOnce.availableSizes());
        for (int side = 8; side <= 300; ++side) {
            SCOPED_TRACE(side);
            const QSize size(side, side);
            EXPECT_EQ(icon.actualSize(size), readAtOnce.actualSize(size));
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                EXPECT_EQ(painted(icon, side, mode), painted(readAtOnce, side, mode));
                for (const qreal scale : {1.0, 2.0}) {
                    EXPECT_EQ(icon.pixmap(size, scale, mode).toImage(),
                              readAtOnce.pixmap(size, scale, mode).toImage());
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrix::ui
