#include <gtest/gtest.h>

#include "app/application.h"
#include "ui/window_owner.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tandrel::app::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Owned windows must go before the application object does.
    tandrel::ui::WindowOwner::Instance().DestroyAll();
    return result;
}
