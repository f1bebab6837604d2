// A disk that fills up in the middle of an append: the line must not stay
// half written, the error is "I/O error 112", the game keeps its result, and
// the same line is written once there is room again.
//
// The disk is a real tmpfs of 64 KiB mounted for the test. Where the test may
// not mount, the log's fault hook makes the write stop part way instead.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "log/io_error.h"
#include "log/platform.h"
#include "robustness_support.h"
#include "tests/support/files.h"

namespace tandrel::test {
namespace {

namespace fs = std::filesystem;
using log::platform::InjectedFault;
using log::platform::SysCall;

constexpr std::uintmax_t kPageSize = 4096;

// Counts the log's writes and cuts, and plays the full disk where no real
// one could be mounted.
class WriteProbe {
  public:
    explicit WriteProbe(bool injectDiskFull) : inject_(injectDiskFull) {
        log::platform::SetFaultInjector([this](SysCall call) { return Observe(call); });
    }
    ~WriteProbe() { log::platform::SetFaultInjector(nullptr); }
    WriteProbe(const WriteProbe&) = delete;
    WriteProbe& operator=(const WriteProbe&) = delete;

    void SetFull(bool full) { full_ = full; }
    int writes = 0;
    int truncates = 0;

  private:
    InjectedFault Observe(SysCall call) {
        if (call == SysCall::kTruncate) ++truncates;
        if (call != SysCall::kWrite) return {};
        ++writes;
        if (inject_ && full_) return {ENOSPC, kInjectedPart};
        return {};
    }

    static constexpr std::size_t kInjectedPart = 1000;
    bool inject_;
    bool full_ = false;
};

TEST(DiskFull, AppendRunningOutOfSpacePartWayIsCutBackAndRetriedOnceThereIsRoom) {
    SmallDisk disk(16 * kPageSize);
    TempFolder plainFolder;
    const fs::path root = disk.Mounted() ? disk.Path() : plainFolder.Path();
    const std::string logPath = (root / "corvanelle-tandrel" / "trl.txt").string();
    const std::string filler = (root / "filler").string();
    std::printf("[ figure ] disk: %s\n",
                disk.Mounted() ? "tmpfs of 64 KiB" : "fault hook (mount not permitted)");

    GameRig rig(logPath);
    rig.PlayUntilEndCheck(3);
    rig.game.EndCheckTick();
    const std::uintmax_t sizeBefore = fs::file_size(logPath);

    WriteProbe probe(!disk.Mounted());
    if (disk.Mounted()) {
        std::printf("[ figure ] filler took %llu bytes; room left in the log's last page: %ju\n",
                    static_cast<unsigned long long>(FillUp(filler)),
                    kPageSize - sizeBefore % kPageSize);
    }
    probe.SetFull(true);
    rig.view.name = std::string(2 * kPageSize, 'N');  // longer than any room left
    rig.PlayUntilEndCheck(3);
    try {
        rig.game.EndCheckTick();
        FAIL() << "the append succeeded on a full disk";
    } catch (const log::IoError& error) {
        EXPECT_EQ(error.Code(), 112);
        EXPECT_STREQ(error.what(), "I/O error 112");
    }
    std::printf("[ figure ] failed append: %d write calls, %d cut back\n", probe.writes,
                probe.truncates);
    // On the real disk the first write is cut short and the next one refused;
    // the hook does both in one call.
    EXPECT_GE(probe.writes, disk.Mounted() ? 2 : 1);
    EXPECT_GE(probe.truncates, 1);
    EXPECT_EQ(fs::file_size(logPath), sizeBefore) << "the half line was not cut away";
    EXPECT_TRUE(HoldsOnlyWholeLines(logPath));
    EXPECT_TRUE(rig.game.ResultPending());

    fs::remove(filler);
    probe.SetFull(false);
    rig.game.EndCheckTick();
    const std::vector<std::string> lines = LogLines(logPath);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::string(kRigDate) + "    " + rig.view.name + "    3 out of 3");
    EXPECT_TRUE(HoldsOnlyWholeLines(logPath));
}

}  // namespace
}  // namespace tandrel::test
