#include "results/log_result_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace tandrel::results {
namespace {

// Every field of the engine's date reaches the line, the weekday included.
TEST(LogResultWriter, WritesTheEnginesDateInTheLocalesPattern) {
    const test::TempFolder folder;
    const std::string logPath = folder.File("trl.txt");
    log::DateSettings dates;
    dates.pattern = "dddd d mmmm yyyy";
    LogResultWriter writer(dates, [&logPath] { return logPath; });

    writer.WriteResult(core::Date{2026, 12, 7, 1}, "Ann", 2, 3);

    EXPECT_EQ(test::LogLines(logPath),
              std::vector<std::string>{"Monday 7 December 2026    Ann    2 out of 3"});
}

}  // namespace
}  // namespace tandrel::results
