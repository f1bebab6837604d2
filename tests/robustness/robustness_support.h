#pragma once

// Shared pieces of the robustness tests: a mounted
// small file system, child processes, and a game with a fake window.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/clock_source.h"
#include "core/game.h"
#include "core/game_state.h"
#include "core/game_view.h"
#include "results/log_result_writer.h"
#include "tests/support/engine_fakes.h"
#include "tests/support/temp_folder.h"

namespace tandrel::test {

// A tmpfs of `bytes` mounted on a temporary folder, when the test may mount.
class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::filesystem::path& Path() const { return folder_.Path(); }

  private:
    TempFolder folder_;
    bool mounted_ = false;
};

// Writes to `path` until the file system refuses more; returns the bytes written.
std::uint64_t FillUp(const std::string& path);

// True when every line of the file ends with CR LF: no half line anywhere.
bool HoldsOnlyWholeLines(const std::string& path);

// The helper program of these tests, started with `arguments`; its standard
// input and output are pipes to this process.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One line of the child's output, without its newline; "" at its end.
    std::string ReadLine();
    void CloseInput();
    // Reads the rest of the output and returns the exit status (-1 if it
    // did not exit normally).
    int Wait();
    const std::string& Output() const { return output_; }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    int outputPipe_ = -1;
    std::string output_;
};

// A clock whose millisecond moves on at every reading, on a fixed date.
class SteppingClock : public core::ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override;
    core::Date LocalDate() const override { return core::Date{2026, 12, 6, 0}; }

  private:
    mutable std::uint32_t millisecond_ = 0;
};

// The engine with a fake window, writing the real log at `logPath`.
struct GameRig {
    explicit GameRig(std::string logPath);

    // Go, the whole playback, and the right box for every flash that lit one;
    // the end check then still has to run.
    void PlayUntilEndCheck(std::uint8_t amount);

    core::GameState state{};
    RecordingView view;
    SteppingClock clock;
    results::LogResultWriter writer;
    core::Game game;
};

// "12/6/26" with the default date settings: the date every rig game writes.
inline constexpr const char* kRigDate = "12/6/26";

}  // namespace tandrel::test
