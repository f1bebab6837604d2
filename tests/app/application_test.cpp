#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "tests/support/message_boxes.h"

#if defined(__SANITIZE_ADDRESS__)
#define TANDREL_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TANDREL_LEAK_CHECK 1
#endif
#endif
#ifdef TANDREL_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace tandrel::test {
namespace {

TEST(Application, IsNamedAfterTheProgramAndCarriesItsIcon) {
    EXPECT_EQ(QApplication::applicationName(), "Corvanelle Tandrel");
    EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(32, 32)));
    const QImage picture(QStringLiteral(":/MAINICON"));
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_GE(picture.colorCount(), 2);
    EXPECT_LE(picture.colorCount(), 16);
}

// A handler that forgot its guard: the application still shows the error and
// goes on delivering events.
TEST(Application, ShowsAnErrorThatEscapesATimerHandlerAndKeepsRunning) {
    QString shown;
    DismissBoxAfter(50, [&shown](QMessageBox* box) {
        if (box != nullptr) shown = box->text();
    });
    QTimer::singleShot(0, [] { throw std::runtime_error("Escaped from a tick"); });
    int laterTicks = 0;
    QTimer::singleShot(120, [&laterTicks] { ++laterTicks; });
    QTest::qWait(250);
    DismissAllBoxes();

    EXPECT_EQ(shown, "Escaped from a tick.");
    EXPECT_EQ(laterTicks, 1);
}

class ThrowingWidget : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override {
        ++presses;
        throw std::runtime_error("Escaped from a click");
    }
};

// Qt's widget and gui libraries are built without exception support, so a
// throw that crosses their event delivery skips the frees of the event's own
// data and the release of guards on the widget. What Qt allocates in a test
// that throws through it on purpose is left out of the leak check.
class QtLeaksIgnored {
  public:
#ifdef TANDREL_LEAK_CHECK
    QtLeaksIgnored() { __lsan_disable(); }
    ~QtLeaksIgnored() { __lsan_enable(); }
#else
    QtLeaksIgnored() = default;
#endif
    QtLeaksIgnored(const QtLeaksIgnored&) = delete;
    QtLeaksIgnored& operator=(const QtLeaksIgnored&) = delete;
};

TEST(Application, ShowsAnErrorThatEscapesAWidgetEventAndTakesTheNextOne) {
    [[maybe_unused]] const QtLeaksIgnored throwsThroughQt;
    ThrowingWidget widget;
    widget.resize(50, 50);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));

    QString shown;
    DismissBoxAfter(50, [&shown](QMessageBox* box) {
        if (box != nullptr) shown = box->text();
    });
    QTest::mouseClick(&widget, Qt::LeftButton);
    EXPECT_EQ(shown, "Escaped from a click.");

    DismissBoxAfter(50);
    QTest::mouseClick(&widget, Qt::LeftButton);
    DismissAllBoxes();
    EXPECT_EQ(widget.presses, 2);
}

}  // namespace
}  // namespace tandrel::test
