#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>

#include "core/clock_source.h"
#include "core/game.h"
#include "core/game_clock.h"
#include "core/game_state.h"
#include "core/game_view.h"
#include "core/result_writer.h"
#include "ui/qt_timer_service.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;

namespace tandrel::ui {
class Announcer;
class BoxLabel;
class BoxShape;
class NumericSpinField;
}  // namespace tandrel::ui

// The main window: six boxes with their click labels, the Sequence, Amount,
// Time and Name fields, the menu and the two clocks. It shows the game to the
// engine and forwards every event to it.
class Tmain : public QMainWindow, private tandrel::core::GameView {
    Q_OBJECT
  public:
    // The window plays the game in `state`, writes each result through
    // `results`, draws the boxes from `clock` and shows the score log found
    // at `scoreLogPath` (asked afresh each time) in the scores window.
    Tmain(tandrel::core::GameState& state, tandrel::core::ResultWriter& results,
          const tandrel::core::ClockSource& clock, std::function<std::string()> scoreLogPath,
          QWidget* parent = nullptr);
    ~Tmain() override;

    tandrel::ui::BoxShape* Shape1;
    tandrel::ui::BoxShape* Shape2;
    tandrel::ui::BoxShape* Shape3;
    tandrel::ui::BoxShape* Shape4;
    tandrel::ui::BoxShape* Shape5;
    tandrel::ui::BoxShape* Shape6;
    tandrel::ui::BoxLabel* BOX1;
    tandrel::ui::BoxLabel* BOX2;
    tandrel::ui::BoxLabel* BOX3;
    tandrel::ui::BoxLabel* BOX4;
    tandrel::ui::BoxLabel* BOX5;
    tandrel::ui::BoxLabel* BOX6;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    tandrel::ui::NumericSpinField* spinamount;
    QLabel* Label3;
    tandrel::ui::NumericSpinField* spintime;
    QLabel* Label4;
    QLineEdit* namedit;

    QMenuBar* MainMenu1;
    QMenu* File1;
    QAction* Go1;
    QAction* Exit1;
    QMenu* View1;
    QAction* Scores1;
    QMenu* Help1;
    QAction* About1;

  private:
    tandrel::ui::QtTimerService timer1Service_;
    tandrel::ui::QtTimerService timer2Service_;

  public:
    tandrel::core::GameClock Timer1;  // playback
    tandrel::core::GameClock Timer2;  // end check

  private:
    struct Box;  // one row of the table the boxes are made from
    static const std::array<Box, 6>& Boxes();

    // Wraps a handler so that any error it raises goes to the error box.
    void CreateBoxes(QWidget* client);
    void CreateFields(QWidget* client);
    void CreateMenu();
    void ConnectHandlers();

    void FormCreate();
    void Go1Click();
    void Exit1Click();
    void Scores1Click();
    void About1Click();
    void Timer1Timer();
    void Timer2Timer();
    void AnnounceTick();
    void BOX1Click();
    void BOX2Click();
    void BOX3Click();
    void BOX4Click();
    void BOX5Click();
    void BOX6Click();
    void spinamountChange();
    void spintimeChange();

    // The game view the engine drives.
    void HideAllBoxes() override;
    void ShowBox(int box) override;
    void ShowSequence(int number) override;
    std::string NameText() const override;
    void SetPlaybackClockEnabled(bool enabled) override;
    void SetEndCheckClockEnabled(bool enabled) override;
    void ShowScores() override;

    tandrel::ui::Announcer* announcer_ = nullptr;
    std::function<std::string()> scoreLogPath_;
    tandrel::core::Game game_;
};

// The main window, set before its creation handler runs.
extern Tmain* mainform;
