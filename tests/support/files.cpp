#include "tests/support/files.h"

#include <fstream>
#include <iterator>

#include "log/score_log.h"

namespace tandrel::test {

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteLines(const std::string& path, std::size_t count,
                const std::function<std::string(std::size_t)>& line) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t index = 0; index < count; ++index) {
        out << line(index) << "\r\n";
    }
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    log::ReadLines(path, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

}  // namespace tandrel::test
