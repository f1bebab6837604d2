#include "tests/support/main_window_fixture.h"

#include <array>

#include "tests/support/files.h"
#include "tests/support/gui.h"
#include "ui/box_shape.h"

namespace tandrel::test {

std::vector<int> LitBoxes(const Tmain& window) {
    const std::array<const QWidget*, 6> shapes{window.Shape1, window.Shape2, window.Shape3,
                                               window.Shape4, window.Shape5, window.Shape6};
    std::vector<int> lit;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!shapes[i]->isHidden()) {
            lit.push_back(static_cast<int>(i) + 1);
        }
    }
    return lit;
}

MainWindowFixture::MainWindowFixture() = default;

MainWindowFixture::~MainWindowFixture() { DestroyOwnedWindows(); }

std::vector<std::string> MainWindowFixture::LogLines() const { return test::LogLines(logPath); }

}  // namespace tandrel::test
