#include "ui/box_label.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "ui/box_shape.h"

namespace tandrel::ui {
namespace {

// A lit square with its label on top, as in the game's grid.
class BoxLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(120, 100);
        square_ = new BoxShape(&window_);
        square_->setGeometry(8, 8, 65, 65);
        square_->SetFill(Qt::yellow);
        label_ = new BoxLabel("BOX1", &window_);
        label_->move(24, 32);
        clicks_ = std::make_unique<QSignalSpy>(label_, &BoxLabel::Clicked);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    // Window coordinates of a point given in the label's own coordinates.
    QPoint OnLabel(QPoint point) const { return label_->mapTo(&window_, point); }
    QPoint LabelCentre() const { return OnLabel(label_->rect().center()); }
    QWindow* Window() const { return window_.windowHandle(); }

    QWidget window_;
    BoxShape* square_ = nullptr;
    BoxLabel* label_ = nullptr;
    std::unique_ptr<QSignalSpy> clicks_;
};

TEST_F(BoxLabelTest, AClickOnTheLabelCountsOnTheRelease) {
    QTest::mousePress(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 0);
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 1);
}

TEST_F(BoxLabelTest, OnlyALeftPressAndReleaseBothOverTheLabelCount) {
    QTest::mouseClick(Window(), Qt::LeftButton, {}, QPoint(12, 12));  // the square, off the label
    QTest::mouseClick(Window(), Qt::RightButton, {}, LabelCentre());
    QTest::qWait(500);  // keep the next press from making a double-click

    QTest::mousePress(Window(), Qt::LeftButton, {}, LabelCentre());
    QTest::mouseMove(Window(), QPoint(12, 12));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(12, 12));
    QTest::qWait(500);

    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(12, 12));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 0);

    // The widget path too: the label keeps the pointer while the button is
    // held and sees the outside release.
    QTest::mousePress(label_, Qt::LeftButton);
    QTest::mouseRelease(label_, Qt::LeftButton, {}, QPoint(-3, label_->height() / 2));
    EXPECT_EQ(clicks_->count(), 0);
}

TEST_F(BoxLabelTest, ADoubleClickCountsOnce) {
    // Press, release, double-click event; the final release is sent here.
    QTest::mouseDClick(Window(), Qt::LeftButton, {}, LabelCentre());
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 1);

    QTest::qWait(500);
    QTest::mouseClick(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 2) << "a click after a pause counts again";
}

TEST_F(BoxLabelTest, TheLabelIsSizedToItsTextAndOpaqueAboveTheSquare) {
    EXPECT_EQ(label_->size(), label_->sizeHint());

    const QImage image = window_.grab().toImage();
    const QColor face = window_.palette().color(QPalette::Window);
    EXPECT_EQ(image.pixelColor(OnLabel(QPoint(0, 0))), face) << "label corner";
    EXPECT_EQ(image.pixelColor(OnLabel(QPoint(label_->width() - 1, label_->height() - 1))), face);
    EXPECT_EQ(image.pixelColor(QPoint(12, 12)), QColor(Qt::yellow)) << "square beside the label";

    QFont larger = window_.font();
    larger.setPixelSize(30);
    window_.setFont(larger);
    EXPECT_EQ(label_->size(), label_->sizeHint()) << "a font set on the window later";
}

}  // namespace
}  // namespace tandrel::ui
