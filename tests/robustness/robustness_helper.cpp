// A second copy of the program for the robustness tests, doing one thing:
//   append <log> <writer> <count> <go-file>
//       waits for <go-file>, then appends <count> checkable lines; prints
//       "retries N" (appends refused because the other copy held the log)
//   read <log> <stop-file>
//       reads the log again and again until <stop-file> exists, checking that
//       every line seen is whole and that no writer's line is missing before
//       its last; prints "reads N lines M torn T gaps G", exits 1 on a fault
//   append-slowly <log> <line>
//       appends <line> the way the log does, under its lock, but stops half
//       way, prints "half written" and writes the rest when its standard
//       input closes
//   hold-lock <log>
//       takes the log's append lock, prints "locked", holds it until its
//       standard input closes

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <thread>

#include "log/io_error.h"
#include "log/score_log.h"
#include "test_lines.h"

namespace {

using tandrel::test::LineId;
using tandrel::test::MakeLine;
using tandrel::test::ParseWholeLine;

constexpr int kSharingViolation = 32;

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

void WaitFor(const std::string& path) {
    while (!Exists(path)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int Append(const std::string& log, char writer, int count, const std::string& goFile) {
    WaitFor(goFile);
    int retries = 0;
    for (int index = 0; index < count; ++index) {
        // A copy refused by the other's lock tries again, as the game's end
        // check does at its next tick.
        for (;;) {
            try {
                tandrel::log::AppendLine(log, MakeLine(LineId{writer, index}));
                break;
            } catch (const tandrel::log::IoError& error) {
                if (error.Code() != kSharingViolation) throw;
                ++retries;
            }
        }
    }
    std::printf("retries %d\n", retries);
    return 0;
}

struct ReadTally {
    long reads = 0;
    long maxLines = 0;
    long torn = 0;
    long gaps = 0;
};

// One pass over the log: every line whole, each writer's lines numbered
// 0, 1, 2, ... with none missing.
void ReadOnce(const std::string& log, ReadTally& tally) {
    std::map<char, int> nextIndex;
    long lines = 0;
    tandrel::log::ReadLines(log, [&](std::string_view line) {
        ++lines;
        const auto id = ParseWholeLine(line);
        if (!id) {
            if (tally.torn++ == 0) {
                std::printf("torn line of %zu bytes: \"%.*s...\"\n", line.size(),
                            static_cast<int>(std::min<std::size_t>(line.size(), 40)), line.data());
            }
            return;
        }
        if (id->index != nextIndex[id->writer]++) ++tally.gaps;
    });
    ++tally.reads;
    if (lines > tally.maxLines) tally.maxLines = lines;
}

int Read(const std::string& log, const std::string& stopFile) {
    ReadTally tally;
    bool lastPass = false;
    while (!lastPass) {
        lastPass = Exists(stopFile);
        ReadOnce(log, tally);
    }
    std::printf("reads %ld lines %ld torn %ld gaps %ld\n", tally.reads, tally.maxLines, tally.torn,
                tally.gaps);
    return tally.torn == 0 && tally.gaps == 0 ? 0 : 1;
}

void WaitForInputToClose() {
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

int AppendSlowly(const std::string& log, const std::string& line) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) return 2;
    const std::string bytes = line + "\r\n";
    const std::size_t half = line.size() / 2;
    if (!WriteAll(fd, std::string_view(bytes).substr(0, half))) return 2;
    std::printf("half written\n");
    std::fflush(stdout);
    WaitForInputToClose();
    if (!WriteAll(fd, std::string_view(bytes).substr(half))) return 2;
    ::close(fd);
    return 0;
}

int HoldLock(const std::string& log) {
    const int fd = ::open(log.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) return 2;
    std::printf("locked\n");
    std::fflush(stdout);
    WaitForInputToClose();
    ::close(fd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "append" && argc == 6) {
        return Append(argv[2], argv[3][0], std::atoi(argv[4]), argv[5]);
    }
    if (mode == "read" && argc == 4) return Read(argv[2], argv[3]);
    if (mode == "append-slowly" && argc == 4) return AppendSlowly(argv[2], argv[3]);
    if (mode == "hold-lock" && argc == 3) return HoldLock(argv[2]);
    std::fprintf(stderr, "usage: %s append|read|append-slowly|hold-lock ...\n", argv[0]);
    return 2;
}
