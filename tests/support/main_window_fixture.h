#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game_state.h"
#include "results/log_result_writer.h"
#include "tests/support/engine_fakes.h"
#include "tests/support/temp_folder.h"
#include "ui/Unit1.h"

namespace tandrel::test {

// The numbers 1..6 of the squares visible now.
std::vector<int> LitBoxes(const Tmain& window);

// The main window with its parts: a game state of its own, the wall clock
// pinned to 6 December 2026, and a score log in a temporary folder, both for
// the results it writes and for the scores windows it opens. Removes the
// scores and about windows at the end.
class MainWindowFixture : public ::testing::Test {
  protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    // The log's lines; empty when there is no log.
    std::vector<std::string> LogLines() const;

    TempFolder folder;
    std::string logPath = folder.File("trl.txt");
    PinnedClock clock{12'345'678, core::Date{2026, 12, 6, 0}};  // a Sunday
    core::GameState state;
    results::LogResultWriter results{log::DateSettings{}, [this] { return logPath; }};
    Tmain window{state, results, clock, [this] { return logPath; }};
};

}  // namespace tandrel::test
