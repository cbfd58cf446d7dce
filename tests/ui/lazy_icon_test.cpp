#include "ui/lazy_icon.h"
#include "ui/program_icon.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>

namespace kestrix::ui {
namespace {

QImage painted(const QIcon& icon, int side, QIcon::Mode mode) {
    QImage image(side + 2, side + 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(1, 1, side, side), Qt::AlignCenter, mode);
    return image;
}

// Whatever size the platform asks for, an icon that reads its images when first needed gives
// what the icon it stands for, read at once, gives: the program icon and the found list's row
// icon, Qt's icons of their files; the menu bar's button for menus that do not fit, the style's.
TEST(LazyIcon, GivesAtEverySizeWhatTheIconReadAtOnceGives) {
    QIcon program;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        program.addFile(QStringLiteral(":/icons/kestrix-%1.png").arg(side), QSize(side, side));
    }
    const QString font = QStringLiteral(":/icons/font.xpm");
    const auto* style = qobject_cast<const QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const auto overflow = QStyle::SP_ToolBarHorizontalExtensionButton;
    const std::pair<QIcon, QIcon> icons[] = {
        {programIcon(), program},
        {drawnIcon({{16, font}}), QIcon(font)},
        {style->standardIcon(overflow), style->baseStyle()->standardIcon(overflow)}};
    for (const auto& [icon, drawings] : icons) {
        EXPECT_EQ(icon.availableSizes(), drawings.availableSizes());
        EXPECT_EQ(icon.availableSizes(QIcon::Disabled), drawings.availableSizes(QIcon::Disabled));
        EXPECT_EQ(icon.actualSize(QSize(300, 40)), drawings.actualSize(QSize(300, 40)));
        for (int side = 8; side <= 300; ++side) {
            const QSize size(side, side);
            EXPECT_EQ(icon.actualSize(size), drawings.actualSize(size)) << side;
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                for (const qreal scale : {1.0, 2.0}) {
                    EXPECT_EQ(icon.pixmap(size, scale, mode).toImage(),
                              drawings.pixmap(size, scale, mode).toImage())
                        << side << " at " << scale;
                }
                EXPECT_EQ(painted(icon, side, mode), painted(drawings, side, mode)) << side;
            }
        }
    }
}

}  // namespace
}  // namespace kestrix::ui
