#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMessageBox>

#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_boxes.h"
#include "ui/Unit1.h"
#include "ui/about.h"
#include "ui/announcer.h"
#include "ui/box_label.h"
#include "ui/error_box.h"
#include "ui/scores.h"
#include "ui/spin_field.h"

// What assistive technology finds in the windows, read through the
// interfaces Qt's platform bridges read.
namespace {

using tandrel::test::MillisecondDrawing;

QAccessibleInterface* Face(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The messages the announcer carried each time it appeared.
class Heard : public QObject {
  public:
    explicit Heard(QWidget* announcer) { announcer->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            messages.push_back(static_cast<QWidget*>(watched)->accessibleName().toStdString());
        }
        return false;
    }

    std::vector<std::string> messages;
};

class Accessibility : public tandrel::test::MainWindowFixture {
  protected:
    void SetUp() override { tandrel::test::ShowAndActivate(window); }

    void PlayBack() {
        window.Go1->trigger();
        ASSERT_TRUE(tandrel::test::WaitFor([this] { return !window.Timer1.Enabled(); }, 2000));
    }
};

TEST_F(Accessibility, BoxLabelsArePushButtonsThatAnswerAndFieldsAreNamedByTheirLabels) {
    const std::array<tandrel::ui::BoxLabel*, 6> labels{window.BOX1, window.BOX2, window.BOX3,
                                                       window.BOX4, window.BOX5, window.BOX6};
    const std::array<const char*, 6> colours{"yellow", "red", "green", "blue", "black", "white"};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QAccessibleInterface* label = Face(labels[i]);
        EXPECT_EQ(label->role(), QAccessible::Button);
        EXPECT_EQ(label->text(QAccessible::Name), QStringLiteral("BOX%1").arg(i + 1));
        EXPECT_EQ(label->text(QAccessible::Description), colours[i]);
        EXPECT_TRUE(label->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }
    Face(window.BOX5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(state.clicked, 1);
    EXPECT_EQ(state.answers[1], 5);

    EXPECT_EQ(Face(window.Edit1)->text(QAccessible::Name), "Sequence");
    EXPECT_EQ(Face(window.Edit1)->textInterface()->text(0, 1), "1");
    EXPECT_EQ(Face(window.spinamount)->text(QAccessible::Name), "Amount");
    EXPECT_EQ(Face(window.spintime)->text(QAccessible::Name), "Time");
    EXPECT_EQ(Face(window.namedit)->text(QAccessible::Name), "Name");
    EXPECT_EQ(Face(window.findChild<tandrel::ui::Announcer*>())->role(), QAccessible::Notification);
}

TEST_F(Accessibility, ScoresAndAboutWindowsAreWindowsAndTheErrorBoxAnAlert) {
    window.Scores1->trigger();
    EXPECT_EQ(Face(scoreform)->role(), QAccessible::Window);
    EXPECT_EQ(Face(scoreform)->text(QAccessible::Name), "Tandrel Scores");
    window.About1->trigger();
    EXPECT_EQ(Face(aboutform1)->role(), QAccessible::Window);
    EXPECT_EQ(Face(aboutform1)->text(QAccessible::Name), "About");

    QAccessible::Role role = QAccessible::NoRole;
    QString message;
    tandrel::test::DismissBoxAfter(50, [&](QMessageBox* box) {
        if (box == nullptr) return;
        role = Face(box)->role();
        message = Face(box)->text(QAccessible::Value);
    });
    tandrel::ui::ShowErrorBox("File access denied");
    EXPECT_EQ(role, QAccessible::AlertMessage);
    EXPECT_EQ(message, "File access denied.");
}

TEST_F(Accessibility, EachTickIsAnnouncedOnceItIsDoneAndTheClosingTicksHiddenFlashNever) {
    Heard heard(window.findChild<tandrel::ui::Announcer*>());
    window.Timer1.SetInterval(30);
    // Every tick draws box 2, the closing one too: lit twice in a row and
    // lit and hidden again by the closing tick.
    clock.millisecond = MillisecondDrawing(1, 3);
    PlayBack();
    // Amount 7, every tick drawing a value that lights no box.
    window.spinamount->setText("7");
    clock.millisecond = MillisecondDrawing(6, 7);
    PlayBack();

    std::vector<std::string> expected;
    for (int flash = 1; flash <= 3; ++flash) {
        expected.push_back("Flash " + std::to_string(flash) + ": BOX2 red");
    }
    expected.emplace_back("Playback over");
    for (int flash = 1; flash <= 7; ++flash) {
        expected.push_back("Flash " + std::to_string(flash) + ": no box");
    }
    expected.emplace_back("Playback over");
    EXPECT_EQ(heard.messages, expected);
}

}  // namespace
