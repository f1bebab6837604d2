#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <vector>

namespace tandrel::test {

// What an error box showed the player.
struct SeenBox {
    bool shown = false;  // false until a box was described
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    bool hasOk = false;
};

SeenBox Describe(const QMessageBox& box);

// The message boxes on screen right now.
std::vector<QMessageBox*> OpenMessageBoxes();

// After `ms`, hands the innermost modal box to `check` (nullptr when none is
// open) and clicks its OK button as a player would.
void DismissBoxAfter(int ms, std::function<void(QMessageBox*)> check = {});

// Presses OK on every open box, so that a test that went wrong does not leave
// nested loops behind.
void DismissAllBoxes();

// Counts, from inside the boxes' nested loops, the most boxes open at once.
class BoxCounter {
  public:
    BoxCounter();
    std::size_t MostOpen() const { return mostOpen_; }

  private:
    QTimer timer_;
    std::size_t mostOpen_ = 0;
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
    std::size_t MostOpenAtOnce() const { return mostOpen_; }

  private:
    void Poll();

    QObject context_;
    std::vector<SeenBox> seen_;
    std::size_t mostOpen_ = 0;
    int keepOpenMs_;
    std::function<void()> beforeClosing_;
    qint64 openedAt_ = -1;
};

}  // namespace tandrel::test
