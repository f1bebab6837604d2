#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Offscreen unless the caller chose a platform, as the window-manager
    // test does with a real X server.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program's application object names itself: the main window and
    // the error boxes take their caption from this name.
    QApplication::setApplicationName(QStringLiteral("Corvanelle Tandrel"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
