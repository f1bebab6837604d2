#include "ui/box_shape.h"

#include <gtest/gtest.h>

#include <QImage>

namespace tandrel::ui {
namespace {

TEST(BoxShapeTest, FillsInsideAOnePixelBlackOutline) {
    BoxShape shape;
    shape.resize(65, 65);
    shape.SetFill(QColor(0, 128, 0));
    const QImage image = shape.grab().toImage();
    ASSERT_EQ(image.size(), QSize(65, 65));

    const QColor black(Qt::black);
    for (const QPoint corner : {QPoint(0, 0), QPoint(64, 0), QPoint(0, 64), QPoint(64, 64)}) {
        EXPECT_EQ(image.pixelColor(corner), black) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(image.pixelColor(32, 0), black);
    EXPECT_EQ(image.pixelColor(64, 32), black);
    for (const QPoint inside : {QPoint(1, 1), QPoint(32, 32), QPoint(63, 63)}) {
        EXPECT_EQ(image.pixelColor(inside), QColor(0, 128, 0)) << inside.x() << "," << inside.y();
    }
}

}  // namespace
}  // namespace tandrel::ui
