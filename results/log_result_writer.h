#pragma once

#include <functional>
#include <string>

#include "core/result_writer.h"
#include "log/date_format.h"

namespace tandrel::results {

// Writes the engine's results as lines of the score log, the date in the
// locale's short date format.
class LogResultWriter : public core::ResultWriter {
  public:
    explicit LogResultWriter(log::DateSettings dates,
                             std::function<std::string()> logPath = DefaultLogPath());
    void WriteResult(const core::Date& date, const std::string& name, std::uint8_t score,
                     std::uint8_t amount) override;

  private:
    static std::function<std::string()> DefaultLogPath();
    log::DateSettings dates_;
    std::function<std::string()> logPath_;
};

}  // namespace tandrel::results
