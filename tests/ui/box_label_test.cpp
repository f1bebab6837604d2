#include "ui/box_label.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
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

TEST_F(BoxLabelTest, SpaceReturnAndEnterAnswerOncePerPressWhileAClickLeavesTheFocus) {
    auto* field = new QLineEdit(&window_);
    field->show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    field->setFocus();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, LabelCentre());
    EXPECT_EQ(clicks_->count(), 1);
    EXPECT_TRUE(field->hasFocus()) << "a click takes no focus";

    label_->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Window(), Qt::Key_Space);
    QTest::keyClick(Window(), Qt::Key_Return);
    QTest::keyClick(Window(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks_->count(), 4);
    // A held Space: the key's own repeats answer nothing.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(label_, &repeat);
    EXPECT_EQ(clicks_->count(), 4);
}

TEST(BoxGridTest, TabEntersTheGridWithTheStylesFocusFrameAndArrowsStopAtItsEdges) {
    QWidget window;
    window.resize(200, 100);
    auto* field = new QLineEdit(&window);
    field->setGeometry(0, 70, 100, 20);
    std::array<BoxLabel*, 6> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = new BoxLabel(QStringLiteral("BOX%1").arg(i + 1), &window);
        labels[i]->move(QPoint(40, 0) * static_cast<int>(i % 3) +
                        QPoint(0, 30) * static_cast<int>(i / 3));
    }
    LinkAsGrid(labels, 3);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    const QImage unfocused = labels[0]->grab().toImage();

    QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
    ASSERT_TRUE(labels[0]->hasFocus());
    EXPECT_NE(labels[0]->grab().toImage(), unfocused) << "no focus frame";

    // Each key, and the label that has the focus after it.
    const std::pair<Qt::Key, std::size_t> walk[] = {
        {Qt::Key_Left, 0},  {Qt::Key_Up, 0},   {Qt::Key_Right, 1}, {Qt::Key_Right, 2},
        {Qt::Key_Right, 2}, {Qt::Key_Down, 5}, {Qt::Key_Down, 5},  {Qt::Key_Left, 4},
        {Qt::Key_Left, 3},  {Qt::Key_Left, 3}, {Qt::Key_Up, 0},
    };
    for (const auto& [key, expected] : walk) {
        QTest::keyClick(window.windowHandle(), key);
        EXPECT_EQ(QApplication::focusWidget(), labels[expected]) << "after key " << key;
    }
}

}  // namespace
}  // namespace tandrel::ui
