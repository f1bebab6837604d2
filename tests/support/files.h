#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel::test {

// Replaces the file's contents with `bytes`.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

// Replaces the file's contents with `count` lines, line(0) .. line(count - 1),
// each ended with CR LF as in the score log. Streamed: a log of millions of
// lines never sits in memory whole.
void WriteLines(const std::string& path, std::size_t count,
                const std::function<std::string(std::size_t)>& line);

// The raw bytes of a file ("" when missing).
std::string ReadBytes(const std::filesystem::path& path);

// The lines of the score log at `path` as the program reads them back.
std::vector<std::string> LogLines(const std::string& path);

}  // namespace tandrel::test
