#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "ui/Unit1.h"
#include "ui/box_label.h"
#include "ui/box_shape.h"
#include "ui/spin_field.h"
#include "ui/window_font.h"

namespace {

using MainWindowLayout = tandrel::test::MainWindowFixture;

struct Placement {
    const char* name;
    QRect geometry;  // client-area pixels; an empty size means "sized to its text"
};

TEST_F(MainWindowLayout, EveryControlSitsWhereTheTableSaysUnderItsName) {
    const Placement table[] = {
        {"Shape1", {8, 8, 65, 65}},   {"Shape2", {80, 8, 65, 65}},
        {"Shape3", {152, 8, 65, 65}}, {"Shape4", {8, 88, 65, 65}},
        {"Shape5", {80, 88, 65, 65}}, {"Shape6", {152, 88, 65, 65}},
        {"BOX1", {24, 32, 0, 0}},     {"BOX2", {96, 32, 0, 0}},
        {"BOX3", {168, 32, 0, 0}},    {"BOX4", {24, 112, 0, 0}},
        {"BOX5", {96, 112, 0, 0}},    {"BOX6", {168, 112, 0, 0}},
        {"Label1", {128, 176, 0, 0}}, {"Edit1", {184, 168, 33, 21}},
        {"Label2", {64, 176, 0, 0}},  {"spinamount", {8, 168, 49, 22}},
        {"Label3", {64, 208, 0, 0}},  {"spintime", {8, 200, 49, 22}},
        {"Label4", {8, 240, 0, 0}},   {"namedit", {48, 232, 169, 21}},
    };
    for (const Placement& place : table) {
        SCOPED_TRACE(place.name);
        auto* widget = window.centralWidget()->findChild<QWidget*>(QString::fromLatin1(place.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), window.centralWidget());
        EXPECT_EQ(widget->pos(), place.geometry.topLeft());
        if (place.geometry.isEmpty()) {
            EXPECT_EQ(widget->size(), widget->sizeHint());
            EXPECT_EQ(widget->height(), QFontMetrics(tandrel::ui::WindowFont()).height());
        } else {
            EXPECT_EQ(widget->size(), place.geometry.size());
        }
    }
    EXPECT_EQ(window.BOX3->Text(), "BOX3");
    EXPECT_EQ(window.Label1->text(), "Sequence");
    EXPECT_EQ(window.Label2->text(), "Amount");
    EXPECT_EQ(window.Label3->text(), "Time");
    EXPECT_EQ(window.Label4->text(), "Name");
}

TEST_F(MainWindowLayout, StartsWithSquaresColouredAndHiddenFieldsLoadedAndClocksSet) {
    const std::pair<tandrel::ui::BoxShape*, QColor> squares[] = {
        {window.Shape1, QColor(255, 255, 0)}, {window.Shape2, QColor(255, 0, 0)},
        {window.Shape3, QColor(0, 128, 0)},   {window.Shape4, QColor(0, 0, 255)},
        {window.Shape5, QColor(0, 0, 0)},     {window.Shape6, QColor(255, 255, 255)},
    };
    tandrel::test::ShowAndActivate(window);
    for (const auto& [shape, colour] : squares) {
        SCOPED_TRACE(shape->objectName().toStdString());
        EXPECT_EQ(shape->Fill(), colour);
        EXPECT_FALSE(shape->isVisible());
    }
    for (QWidget* label :
         {static_cast<QWidget*>(window.BOX1), static_cast<QWidget*>(window.BOX6)}) {
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_EQ(mainform, &window);
    EXPECT_EQ(window.windowTitle(), "Corvanelle Tandrel");
    EXPECT_TRUE(window.Edit1->text().isEmpty());
    EXPECT_FALSE(window.Edit1->isEnabled());
    EXPECT_TRUE(window.Edit1->isReadOnly());
    EXPECT_EQ(window.spinamount->text(), "3");
    EXPECT_EQ(window.spinamount->Minimum(), 3);
    EXPECT_EQ(window.spinamount->Maximum(), 255);
    EXPECT_EQ(window.spintime->text(), "1");
    EXPECT_EQ(window.spintime->Minimum(), 1);
    EXPECT_EQ(window.spintime->Maximum(), 255);
    EXPECT_TRUE(window.namedit->text().isEmpty());
    // The Time field shows 1, yet the playback period stays 2000 ms until it changes.
    EXPECT_EQ(window.Timer1.Interval(), 2000u);
    EXPECT_FALSE(window.Timer1.Enabled());
    EXPECT_EQ(window.Timer2.Interval(), 1000u);
    EXPECT_TRUE(window.Timer2.Enabled());
}

TEST_F(MainWindowLayout, FrameOutlineIs237By307AtItsPlaceAndTheClientStartsBelowTheMenu) {
    tandrel::test::ShowAndActivate(window);
    ASSERT_TRUE(tandrel::test::WaitFor(
        [&] { return window.frameGeometry() == QRect(202, 109, 237, 307); }, 2000))
        << "frame at " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    EXPECT_EQ(window.Shape1->mapTo(&window, QPoint(0, 0)),
              QPoint(8, 8 + window.MainMenu1->height()));
    EXPECT_EQ(window.font().pixelSize(), 11);
}

TEST_F(MainWindowLayout, FocusStartsInAmountWithItsTextSelectedAndTabSkipsTheSequenceField) {
    tandrel::test::ShowAndActivate(window);
    EXPECT_EQ(QApplication::focusWidget(), window.spinamount);
    QTest::keyClick(window.spinamount, Qt::Key_5);
    EXPECT_EQ(window.spinamount->text().toStdString(), "5")
        << "typing replaces the text, as after Tab";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.spintime);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.namedit);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.spinamount);
}

TEST_F(MainWindowLayout, MenuHasItsItemsWithAccessKeysAndNoShortcuts) {
    EXPECT_EQ(window.menuBar(), window.MainMenu1);
    EXPECT_EQ(window.MainMenu1->objectName(), "MainMenu1");
    const QList<QAction*> menus = window.MainMenu1->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->menu(), window.File1);
    EXPECT_EQ(menus[1]->menu(), window.View1);
    EXPECT_EQ(menus[2]->menu(), window.Help1);
    EXPECT_EQ(window.File1->title(), "&File");
    EXPECT_EQ(window.View1->title(), "&View");
    EXPECT_EQ(window.Help1->title(), "&Help");
    EXPECT_EQ(window.File1->actions(), (QList<QAction*>{window.Go1, window.Exit1}));
    EXPECT_EQ(window.View1->actions(), QList<QAction*>{window.Scores1});
    EXPECT_EQ(window.Help1->actions(), QList<QAction*>{window.About1});
    const std::pair<QAction*, const char*> items[] = {
        {window.Go1, "&Go"},
        {window.Exit1, "E&xit"},
        {window.Scores1, "&Scores"},
        {window.About1, "&About"},
    };
    for (const auto& [item, text] : items) {
        SCOPED_TRACE(text);
        EXPECT_EQ(item->text(), QString::fromLatin1(text));
        EXPECT_TRUE(item->shortcuts().isEmpty());
    }
    for (QAction* menu : menus) {
        EXPECT_TRUE(menu->shortcuts().isEmpty());
    }
}

TEST_F(MainWindowLayout, LitSquareLiesUnderItsOpaqueLabel) {
    tandrel::test::ShowAndActivate(window);
    window.Shape1->show();
    QWidget* client = window.centralWidget();
    const QPoint labelCentre = window.BOX1->geometry().center();
    EXPECT_EQ(client->childAt(labelCentre), window.BOX1);
    EXPECT_EQ(client->childAt(window.Shape1->geometry().topLeft() + QPoint(4, 4)), window.Shape1);

    // The label paints the window's face colour, not the yellow square beneath.
    const QImage picture = client->grab().toImage();
    const QRect label = window.BOX1->geometry();
    EXPECT_EQ(picture.pixelColor(label.topLeft()), window.palette().color(QPalette::Window));
    EXPECT_EQ(picture.pixelColor(label.topLeft() - QPoint(2, 2)), QColor(255, 255, 0));
    EXPECT_EQ(picture.pixelColor(window.Shape1->geometry().topLeft()), QColor(Qt::black));
}

}  // namespace
