#include "ui/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace tandrel::ui {

namespace {

// The messages whose boxes are open right now, innermost last. A handler that
// fails at every tick of a clock would otherwise open a new box per tick while
// the first one waits for the player.
std::vector<std::string>& OpenMessages() {
    static std::vector<std::string> messages;
    return messages;
}

bool IsOpen(const std::string& message) {
    const auto& open = OpenMessages();
    return std::find(open.begin(), open.end(), message) != open.end();
}

// Marks a message as shown for as long as its box is open.
class OpenMessageMark {
  public:
    explicit OpenMessageMark(const std::string& message) : message_(message) {
        OpenMessages().push_back(message_);
    }
    ~OpenMessageMark() {
        auto& open = OpenMessages();
        open.erase(std::find(open.begin(), open.end(), message_));
    }
    OpenMessageMark(const OpenMessageMark&) = delete;
    OpenMessageMark& operator=(const OpenMessageMark&) = delete;

  private:
    std::string message_;
};

void RunBox(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    QString::fromStdString(message) + QLatin1Char('.'), QMessageBox::Ok);
    // A message may hold anything, such as a file name with '<' in it.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // Dismissing the box must never count as closing the program's last window.
    box.setAttribute(Qt::WA_QuitOnClose, false);

    const QPointer<QWidget> activeBefore = QApplication::activeWindow();
    box.exec();
    // Window managers differ in whether they give the focus back; do it here.
    if (activeBefore && activeBefore->isVisible()) activeBefore->activateWindow();
}

// The last resort when no box can be shown.
void PrintToStandardError(const std::string& message) noexcept {
    try {
        std::fprintf(stderr, "%s: %s.\n", qPrintable(QCoreApplication::applicationName()),
                     message.c_str());
    } catch (...) {
        std::fprintf(stderr, "%s.\n", message.c_str());
    }
}

}  // namespace

void ShowErrorBox(const std::string& message) {
    // Runs inside Guarded's catch blocks, so nothing may escape from here.
    try {
        if (IsOpen(message)) return;
        const OpenMessageMark mark(message);
        RunBox(message);
    } catch (...) {
        PrintToStandardError(message);
    }
}

}  // namespace tandrel::ui
