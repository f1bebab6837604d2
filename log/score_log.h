#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tandrel::log {

// The full path of the score log, built afresh at every call: on Linux
// "trl.txt" in "corvanelle-tandrel" under the XDG data home, on Windows
// "trl.txt" in the Windows directory.
std::string ScoreLogPath();

// One result line without its terminator: date, four spaces, name, four
// spaces, score, " out of ", amount. CR, LF and byte 26 in the name become spaces.
std::string FormatResultLine(std::string_view date, std::string_view name, std::uint8_t score,
                             std::uint8_t amount);

// Appends `line` (UTF-8) and CR LF to the log at `path`, creating the file
// (and, on Linux, its folder) when missing. Throws IoError. On Windows the
// line is written in the system's ANSI code page.
void AppendLine(const std::string& path, std::string_view line);

// Hands each line of the log at `path` to `onLine` in file order, without its
// terminator and as UTF-8, streaming the file. A missing file yields nothing. Throws IoError;
// the lines handed on before the failure stay handed on.
void ReadLines(const std::string& path, const std::function<void(std::string_view)>& onLine);

}  // namespace tandrel::log
