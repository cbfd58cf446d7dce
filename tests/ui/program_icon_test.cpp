#include "ui/program_icon.h"
#include "ui/drawn_icon.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

namespace kestrix::ui {
namespace {

QImage painted(const QIcon& icon, int side, QIcon::Mode mode) {
    QImage image(side + 2, side + 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(1, 1, side, side), Qt::AlignCenter, mode);
    return image;
}

// Whatever size the platform asks for, an icon whose drawings are read when first needed gives
// what Qt's icon of all its drawings, read at once, gives.
TEST(ProgramIcon, GivesAtEverySizeWhatTheIconOfAllItsDrawingsGives) {
    QIcon program;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        program.addFile(QStringLiteral(":/icons/kestrix-%1.png").arg(side), QSize(side, side));
    }
    const QString font = QStringLiteral(":/icons/font.xpm");
    const std::pair<QIcon, QIcon> icons[] = {{programIcon(), program},
                                             {drawnIcon({{16, font}}), QIcon(font)}};
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
