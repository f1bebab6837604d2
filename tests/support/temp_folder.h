#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tandrel::test {

// A fresh folder under the system's temporary folder, removed with all it
// holds at the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The full path of `name` inside the folder.
    std::string File(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace tandrel::test
