#pragma once

#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/clock_source.h"

class Tmain;

namespace tandrel::test {

// A wall clock the test sets: it pins the box draw and the date of a result.
class PinnedClock : public core::ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override { return millisecond; }
    log::Date LocalDate() const override { return date; }

    std::uint32_t millisecond = 12'345'678;
    log::Date date{2026, 12, 6, 0};  // Sunday, 6 December 2026
};

// A private XDG data home for the score log, restored afterwards.
class TempDataHome {
  public:
    TempDataHome();
    ~TempDataHome();
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;

    QString Path() const { return dir_.path(); }
    QString LogFolder() const;
    QString LogFile() const;
    // The log's lines, without terminators; empty when there is no log.
    std::vector<std::string> LogLines() const;

  private:
    QTemporaryDir dir_;
    std::optional<QByteArray> previous_;
};

// Shows the window and waits until it is exposed and active.
void ShowAndActivate(QWidget& window);

// A left click through the window system path (hit-testing, grab, modality),
// at `local` inside `target`.
void ClickThroughWindow(QWidget& target, QPoint local);
void DoubleClickThroughWindow(QWidget& target, QPoint local);

// The numbers 1..6 of the squares visible now.
std::vector<int> LitBoxes(const Tmain& window);

// The scores and about windows opened so far, and their removal (each test
// removes them before the QApplication goes).
std::size_t OwnedWindowCount();
void DestroyOwnedWindows();

// Waits up to `timeoutMs` for `condition`, running the event loop.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// What an error box showed before the test closed it.
struct SeenBox {
    QString caption;
    QString text;
    bool criticalIcon = false;
};

// Watches for error boxes while the event loop runs: records each one, counts
// how many are open at once and presses OK once one has stayed open for
// `keepOpenMs` (after calling `beforeClosing`).
class ErrorBoxWatcher {
  public:
    explicit ErrorBoxWatcher(int keepOpenMs, std::function<void()> beforeClosing = {});
    ~ErrorBoxWatcher();
    ErrorBoxWatcher(const ErrorBoxWatcher&) = delete;
    ErrorBoxWatcher& operator=(const ErrorBoxWatcher&) = delete;

    const std::vector<SeenBox>& Seen() const { return seen_; }
    int MostOpenAtOnce() const { return mostOpen_; }

  private:
    void Poll();

    QObject context_;
    std::vector<SeenBox> seen_;
    std::vector<const QWidget*> known_;
    int mostOpen_ = 0;
    int keepOpenMs_;
    std::function<void()> beforeClosing_;
    qint64 openedAt_ = -1;
};

}  // namespace tandrel::test
