#include "results/log_result_writer.h"

#include <utility>

#include "log/score_log.h"

namespace tandrel::results {

LogResultWriter::LogResultWriter(log::DateSettings dates, std::function<std::string()> logPath)
    : dates_(std::move(dates)), logPath_(std::move(logPath)) {}

std::function<std::string()> LogResultWriter::DefaultLogPath() { return &log::ScoreLogPath; }

void LogResultWriter::WriteResult(const core::Date& date, const std::string& name,
                                  std::uint8_t score, std::uint8_t amount) {
    const log::Date logDate{date.year, date.month, date.day, date.weekday};
    const std::string line =
        log::FormatResultLine(log::FormatShortDate(logDate, dates_), name, score, amount);
    log::AppendLine(logPath_(), line);
}

}  // namespace tandrel::results
