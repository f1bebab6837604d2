#include "tests/support/temp_folder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace tandrel::test {

// A folder of a random name that did not exist before: create_directory
// reports whether it made the folder itself.
TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("tandrel-" + std::to_string(random()) + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tandrel::test
