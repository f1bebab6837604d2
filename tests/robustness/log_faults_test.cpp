// Faults of the log's file and folder while the program runs, each driven
// through the engine as a finished game would meet it: the error's exact
// message, the game going on with its result kept, only whole lines in the
// log afterwards, and the same result written once the fault is gone.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "log/io_error.h"
#include "log/platform.h"
#include "log/score_log.h"
#include "robustness_support.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"

namespace tandrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kPerfectLine = std::string(kRigDate) + "    Ann    3 out of 3";

// Runs the end check of a finished game that the fault keeps from being
// written; returns the error's message.
std::string EndCheckFailure(GameRig& rig, int expectedCode) {
    try {
        rig.game.EndCheckTick();
    } catch (const log::IoError& error) {
        EXPECT_EQ(error.Code(), expectedCode);
        EXPECT_TRUE(rig.game.ResultPending());
        EXPECT_TRUE(rig.view.endCheckRunning) << "the next end check must try again";
        EXPECT_EQ(rig.view.scoresOpened, 0);
        return error.what();
    }
    ADD_FAILURE() << "the end check wrote the result in spite of the fault";
    return "";
}

// The end check that writes the game's result, counted once.
void ExpectWrittenAtEndCheck(GameRig& rig, const std::string& logPath, std::size_t linesBefore) {
    rig.game.EndCheckTick();
    EXPECT_FALSE(rig.game.ResultPending());
    EXPECT_FALSE(rig.view.endCheckRunning);
    EXPECT_EQ(rig.view.scoresOpened, 1);
    const std::vector<std::string> lines = LogLines(logPath);
    ASSERT_EQ(lines.size(), linesBefore + 1);
    EXPECT_EQ(lines.back(), kPerfectLine);
    EXPECT_TRUE(HoldsOnlyWholeLines(logPath));
}

class LogFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        dataHome_ = temp_.File("data");
        env_.emplace("XDG_DATA_HOME", dataHome_);
        logPath_ = log::ScoreLogPath();
        log::AppendLine(logPath_, "earlier line");
    }

    TempFolder temp_;
    std::string dataHome_;
    std::optional<ScopedEnv> env_;
    std::string logPath_;
    GameRig rig_{""};  // the log path of the program, built afresh each time
};

TEST_F(LogFaults, TrlTxtReplacedByAFolderIsAccessDeniedUntilTheFileIsBack) {
    fs::rename(logPath_, temp_.File("saved.txt"));
    fs::create_directory(logPath_);
    rig_.PlayUntilEndCheck(3);

    EXPECT_EQ(EndCheckFailure(rig_, 5), "File access denied");
    EXPECT_TRUE(LogLines(logPath_).empty()) << "a folder of that name reads as no log";
    EXPECT_TRUE(fs::is_empty(logPath_)) << "nothing may be written into the folder";

    fs::remove(logPath_);
    fs::rename(temp_.File("saved.txt"), logPath_);
    ExpectWrittenAtEndCheck(rig_, logPath_, 1);
}

TEST_F(LogFaults, LogFolderRemovedWhileRunningIsCreatedAgainByTheNextAppend) {
    for (const std::string& removed : {fs::path(logPath_).parent_path().string(), dataHome_}) {
        SCOPED_TRACE(removed);
        fs::remove_all(removed);
        rig_.PlayUntilEndCheck(3);
        rig_.view.scoresOpened = 0;
        ExpectWrittenAtEndCheck(rig_, logPath_, 0);
    }
}

TEST_F(LogFaults, FolderPathThroughARegularFileIsInvalidFilenameUntilItIsGone) {
    fs::remove_all(dataHome_);
    std::ofstream(dataHome_) << "not a folder";
    rig_.PlayUntilEndCheck(3);

    EXPECT_EQ(EndCheckFailure(rig_, 3), "Invalid filename");
    EXPECT_TRUE(LogLines(logPath_).empty());
    EXPECT_EQ(ReadBytes(dataHome_), "not a folder") << "the file in the way is left alone";

    fs::remove(dataHome_);
    ExpectWrittenAtEndCheck(rig_, logPath_, 0);
}

// Uses up every file handle the process may have, down to a lowered limit,
// and gives them back at the end.
class FileHandlesUsedUp {
  public:
    FileHandlesUsedUp() {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = 64;
        ::setrlimit(RLIMIT_NOFILE, &lowered);
        for (int fd = ::open("/dev/null", O_RDONLY); fd >= 0; fd = ::open("/dev/null", O_RDONLY)) {
            held_.push_back(fd);
        }
    }
    ~FileHandlesUsedUp() { GiveBack(); }
    FileHandlesUsedUp(const FileHandlesUsedUp&) = delete;
    FileHandlesUsedUp& operator=(const FileHandlesUsedUp&) = delete;

    void GiveBack() {
        for (const int fd : held_) ::close(fd);
        held_.clear();
        ::setrlimit(RLIMIT_NOFILE, &saved_);
    }

  private:
    rlimit saved_{};
    std::vector<int> held_;
};

TEST_F(LogFaults, NoFileHandleLeftIsTooManyOpenFilesUntilOneIsFree) {
    // The undefined-behaviour checker opens a pipe the first time it checks
    // the type of an object; every type met while no handle is left is met
    // here first: a whole game whose first write fails the same way.
    rig_.PlayUntilEndCheck(3);
    log::platform::SetFaultInjector([](log::platform::SysCall call) {
        return log::platform::InjectedFault{call == log::platform::SysCall::kOpen ? EMFILE : 0};
    });
    EXPECT_EQ(EndCheckFailure(rig_, 4), "Too many open files");
    log::platform::SetFaultInjector({});
    rig_.game.EndCheckTick();
    rig_.view.scoresOpened = 0;

    rig_.PlayUntilEndCheck(3);
    FileHandlesUsedUp handles;
    EXPECT_EQ(EndCheckFailure(rig_, 4), "Too many open files");
    handles.GiveBack();
    ExpectWrittenAtEndCheck(rig_, logPath_, 2);
}

TEST_F(LogFaults, LockHeldByAnotherProcessIsIoError32UntilReleased) {
    ChildProcess holder({"hold-lock", logPath_});
    ASSERT_EQ(holder.ReadLine(), "locked");
    rig_.PlayUntilEndCheck(3);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(EndCheckFailure(rig_, 32), "I/O error 32");
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    std::printf("[ figure ] append gave up on the held lock after %.3f s\n", waited.count());
    EXPECT_EQ(LogLines(logPath_), std::vector<std::string>{"earlier line"});

    EXPECT_EQ(holder.Wait(), 0);
    ExpectWrittenAtEndCheck(rig_, logPath_, 1);
}

}  // namespace
}  // namespace tandrel::test
