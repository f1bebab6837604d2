#include "ui/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <cstdio>

namespace tandrel::ui {

namespace {

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
        RunBox(message);
    } catch (...) {
        PrintToStandardError(message);
    }
}

}  // namespace tandrel::ui
