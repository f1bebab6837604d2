#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "ui/about.h"
#include "ui/window_owner.h"
#include "ui/window_placement.h"

namespace {

using tandrel::ui::CentredFrameTopLeft;
using tandrel::ui::WindowOwner;

class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { aboutform1 = nullptr; }
    void TearDown() override {
        WindowOwner::Instance().DestroyAll();
        aboutform1 = nullptr;
    }
};

QRect CentredFrame() {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    return {CentredFrameTopLeft(screen, {302, 228}), QSize(302, 228)};
}

TEST(CentredFrameTopLeftTest, TakesTheWholePartOfHalfTheRoomAndNeverGoesBelowZero) {
    EXPECT_EQ(CentredFrameTopLeft({1280, 1024}, {302, 228}), QPoint(489, 398));
    EXPECT_EQ(CentredFrameTopLeft({803, 801}, {302, 228}), QPoint(250, 286));
    EXPECT_EQ(CentredFrameTopLeft({302, 228}, {302, 228}), QPoint(0, 0));
    EXPECT_EQ(CentredFrameTopLeft({301, 100}, {302, 228}), QPoint(0, 0));
    EXPECT_EQ(CentredFrameTopLeft({1000, 50}, {302, 228}), QPoint(349, 0));
}

TEST_F(AboutWindowTest, TwoCommandsGiveTwoCentredWindows) {
    const std::size_t windowsBefore = WindowOwner::Instance().Count();

    tandrel::ui::ShowAbout();
    QPointer<Taboutform1> first = aboutform1;
    tandrel::ui::ShowAbout();

    ASSERT_FALSE(first.isNull());
    ASSERT_NE(aboutform1, nullptr);
    EXPECT_NE(aboutform1, first.data());
    EXPECT_EQ(WindowOwner::Instance().Count(), windowsBefore + 2);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(aboutform1));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->frameGeometry(), CentredFrame());
    EXPECT_EQ(aboutform1->frameGeometry(), CentredFrame());
    EXPECT_EQ(aboutform1->windowTitle(), "About");
    ASSERT_TRUE(QTest::qWaitForWindowActive(aboutform1));
    EXPECT_EQ(QApplication::activeWindow(), aboutform1);
}

TEST_F(AboutWindowTest, LabelsShowTheirWholeTextsWhereTheyBelong) {
    tandrel::ui::ShowAbout();
    ASSERT_NE(aboutform1, nullptr);
    const struct {
        QLabel* label;
        QPoint topLeft;
    } expected[] = {
        {aboutform1->Label5, {96, 8}},   {aboutform1->Label6, {120, 24}},
        {aboutform1->Label1, {96, 40}},  {aboutform1->Label2, {80, 56}},
        {aboutform1->Label8, {88, 72}},  {aboutform1->Label3, {48, 88}},
        {aboutform1->Label4, {88, 104}}, {aboutform1->Label7, {112, 120}},
    };
    for (const auto& [label, topLeft] : expected) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->pos(), topLeft);
        EXPECT_GE(label->width(), label->sizeHint().width()) << "text cut off";
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_EQ(aboutform1->Label5->text(), "Corvanelle Tandrel");
    EXPECT_EQ(aboutform1->Label6->text(), "Version 1.0");
    EXPECT_EQ(aboutform1->Label1->text(), "Corvanelle Software");
    EXPECT_EQ(aboutform1->Label2->text(), "A division of Hollowmere");
    EXPECT_EQ(aboutform1->Label5->palette().color(QPalette::WindowText), QColor(Qt::black));
    for (QLabel* address : {aboutform1->Label3, aboutform1->Label4}) {
        EXPECT_TRUE(address->text().contains("example.org")) << address->text().toStdString();
    }
}

TEST_F(AboutWindowTest, CloseButtonCarriesItsGlyphAndTakesTheFocus) {
    tandrel::ui::ShowAbout();
    ASSERT_NE(aboutform1, nullptr);
    QPushButton* close = aboutform1->BitBtn1;

    EXPECT_EQ(close->text(), "&Close");
    EXPECT_EQ(close->geometry(), QRect(112, 168, 75, 25));
    const QPixmap glyph = close->icon().pixmap(QSize(18, 18));
    ASSERT_FALSE(glyph.isNull()) << "close glyph missing from the resources";
    EXPECT_EQ(glyph.size(), QSize(18, 18));
    const QImage pixels = glyph.toImage();
    EXPECT_EQ(pixels.pixelColor(0, 0).alpha(), 0) << "corner should be transparent";
    EXPECT_EQ(pixels.pixelColor(8, 8).alpha(), 255) << "cross should be opaque";

    ASSERT_TRUE(QTest::qWaitForWindowActive(aboutform1));
    EXPECT_EQ(QApplication::focusWidget(), close);
}

TEST_F(AboutWindowTest, CloseButtonHidesTheWindowWhichStaysOwned) {
    tandrel::ui::ShowAbout();
    QPointer<Taboutform1> about = aboutform1;
    ASSERT_FALSE(about.isNull());
    const std::size_t windowsBefore = WindowOwner::Instance().Count();

    QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
    QApplication::processEvents();

    ASSERT_FALSE(about.isNull()) << "closing must not destroy the window";
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(WindowOwner::Instance().Count(), windowsBefore);
}

// Return and keypad Enter press the focused button, as Space does.
TEST_F(AboutWindowTest, ReturnAndKeypadEnterPressTheFocusedCloseButton) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } presses[] = {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
    for (const auto& [key, modifiers] : presses) {
        tandrel::ui::ShowAbout();
        QPointer<Taboutform1> about = aboutform1;
        ASSERT_TRUE(QTest::qWaitForWindowActive(about));
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QApplication::processEvents();
        EXPECT_FALSE(about->isVisible()) << "key " << key;
    }
}

}  // namespace
