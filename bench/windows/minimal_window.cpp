// The yardstick for the game's start-up: the least a Qt Widgets program shows
// that looks like the game's main window. An empty main window with a menu
// bar of one menu holding one item, and four labels. It closes when asked to,
// like any window.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Go"));
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    const char* const texts[] = {"Sequence", "Amount", "Time", "Name"};
    int top = 8;
    for (const char* text : texts) {
        auto* label = new QLabel(QString::fromLatin1(text), client);
        label->move(8, top);
        top += 32;
    }
    window.move(202, 109);
    window.resize(237, 307);
    window.show();
    return QApplication::exec();
}
