#include "core/log_result_writer.h"

#include <utility>

#include "log/score_log.h"

namespace tandrel::core {

LogResultWriter::LogResultWriter(log::DateSettings dates, std::function<std::string()> logPath)
    : dates_(std::move(dates)), logPath_(std::move(logPath)) {}

std::function<std::string()> LogResultWriter::DefaultLogPath() { return &log::ScoreLogPath; }

void LogResultWriter::WriteResult(const log::Date& date, const std::string& name,
                                  std::uint8_t score, std::uint8_t amount) {
    const std::string line =
        log::FormatResultLine(log::FormatShortDate(date, dates_), name, score, amount);
    log::AppendLine(logPath_(), line);
}

}  // namespace tandrel::core
