#include "log/score_log.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "log/io_error.h"
#include "log/line_splitter.h"
#include "log/platform.h"

namespace tandrel::log {

namespace {

constexpr char kEndOfText = '\x1a';
constexpr std::size_t kTailLookedAt = 128;
constexpr std::size_t kReadChunk = std::size_t{64} * 1024;
constexpr std::string_view kFieldGap = "    ";

// A CR, LF or byte 26 inside a line would end it, start a forged one or end
// the whole log when read back; each is written as a space instead.
void AppendWithoutBreaks(std::string& out, std::string_view text) {
    for (const char c : text) {
        const bool breaksLine = c == '\r' || c == '\n' || c == kEndOfText;
        out += breaksLine ? ' ' : c;
    }
}

// Removes the end-of-text mark, and all after it, when it stands within the
// last bytes of the file (a log edited by hand), so the new line is readable.
void CutAtEndOfTextMark(platform::File& file) {
    const std::uint64_t size = file.Size();
    const std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, kTailLookedAt));
    std::array<char, kTailLookedAt> tail{};
    const std::uint64_t tailStart = size - tailSize;
    const std::size_t bytesRead = file.ReadAt(tailStart, tail.data(), tailSize);
    const auto tailEnd = tail.begin() + static_cast<std::ptrdiff_t>(bytesRead);
    const auto mark = std::find(tail.begin(), tailEnd, kEndOfText);
    if (mark != tailEnd) {
        file.Truncate(tailStart + static_cast<std::uint64_t>(mark - tail.begin()));
    }
}

// Writes the line, or on failure cuts the file back to where the line began,
// so that no half line stays in the log.
void WriteWholeLineOrNothing(platform::File& file, std::string_view bytes) {
    const std::uint64_t lineStart = file.Size();
    try {
        file.Append(bytes);
    } catch (const IoError&) {
        try {
            file.Truncate(lineStart);
        } catch (const IoError&) {
            // The write's error is the one worth reporting.
        }
        throw;
    }
}

}  // namespace

std::string ScoreLogPath() { return platform::LogFolder() + platform::kPathSeparator + "trl.txt"; }

std::string FormatResultLine(std::string_view date, std::string_view name, std::uint8_t score,
                             std::uint8_t amount) {
    std::string line;
    AppendWithoutBreaks(line, date);
    line += kFieldGap;
    AppendWithoutBreaks(line, name);
    line += kFieldGap;
    line += std::to_string(score);
    line += " out of ";
    line += std::to_string(amount);
    return line;
}

void AppendLine(const std::string& path, std::string_view line) {
    const bool fileExists = platform::IsRegularFile(path);
    if (!fileExists) {
        platform::CreateFoldersFor(path);
    }
    platform::File file = platform::OpenForAppending(path, !fileExists);
    // Also done for a file just created: another copy may have created and
    // written it between the test and the open.
    CutAtEndOfTextMark(file);
    std::string bytes;
    bytes.reserve(line.size() + 2);
    AppendWithoutBreaks(bytes, platform::ToFileText(line));
    bytes += "\r\n";
    WriteWholeLineOrNothing(file, bytes);
    file.Close();
}

void ReadLines(const std::string& path, const std::function<void(std::string_view)>& onLine) {
    if (!platform::IsRegularFile(path)) {
        return;
    }
    platform::File file = platform::OpenForReading(path);
    // Another copy may be appending while this one reads. Read only as far as
    // the file reached between two appends; when an append is in progress
    // now, leave out a last line without terminator: it is still being written.
    const std::optional<std::uint64_t> wholeSize = file.SizeBetweenAppends();
    std::uint64_t left = wholeSize.value_or(UINT64_MAX);
    std::string converted;
    LineSplitter splitter(
        [&](std::string_view line) { onLine(platform::FromFileText(line, converted)); });
    std::vector<char> buffer(kReadChunk);
    // Reads in whole chunks even at the bound, so that a file that cannot be
    // read still reports its error.
    for (;;) {
        const std::size_t bytesRead = file.Read(buffer.data(), buffer.size());
        const auto taken = static_cast<std::size_t>(std::min<std::uint64_t>(left, bytesRead));
        left -= taken;
        if (taken == 0 || !splitter.Feed({buffer.data(), taken})) {
            break;
        }
    }
    if (wholeSize) {
        splitter.Finish();
    }
    file.Close();
}

}  // namespace tandrel::log
