#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel::test {

// Replaces the file's contents with `bytes`.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

// The raw bytes of a file ("" when missing).
std::string ReadBytes(const std::filesystem::path& path);

// The lines of the score log at `path` as the program reads them back.
std::vector<std::string> LogLines(const std::string& path);

}  // namespace tandrel::test
