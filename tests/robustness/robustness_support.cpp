#include "robustness_support.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "log/score_log.h"
#include "tests/support/files.h"

namespace tandrel::test {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

SmallDisk::SmallDisk(std::size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tandrel-test", folder_.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(folder_.Path().c_str(), MNT_DETACH);
}

std::uint64_t FillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) Fail("open " + path);
    const std::string block(4096, 'f');
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t written = ::write(fd, block.data(), block.size());
        if (written <= 0) break;
        total += static_cast<std::uint64_t>(written);
    }
    ::close(fd);
    return total;
}

bool HoldsOnlyWholeLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    if (!bytes.empty() && !bytes.ends_with("\r\n")) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lineEnd = bytes[i] == '\r' || bytes[i] == '\n';
        const bool pairedCrLf = bytes[i] == '\r' ? i + 1 < bytes.size() && bytes[i + 1] == '\n'
                                                 : i > 0 && bytes[i - 1] == '\r';
        if (lineEnd && !pairedCrLf) return false;
    }
    return true;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) Fail("pipe");
    std::vector<std::string> argv{TANDREL_ROBUSTNESS_HELPER};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argPointers;
    for (std::string& argument : argv) argPointers.push_back(argument.data());
    argPointers.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) Fail("fork");
    if (pid_ == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::execv(argPointers[0], argPointers.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    outputPipe_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

std::string ChildProcess::ReadLine() {
    std::string line;
    char c = 0;
    while (::read(outputPipe_, &c, 1) == 1 && c != '\n') line += c;
    output_ += line + '\n';
    return line;
}

void ChildProcess::CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

int ChildProcess::Wait() {
    CloseInput();
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(outputPipe_, buffer, sizeof buffer)) > 0) {
        output_.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(outputPipe_);
    outputPipe_ = -1;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint32_t SteppingClock::MillisecondOfUtcDay() const {
    millisecond_ = (millisecond_ + 7919) % 86'400'000;
    return millisecond_;
}

GameRig::GameRig(std::string logPath)
    : writer(
          log::DateSettings{}, logPath.empty() ? std::function<std::string()>(&log::ScoreLogPath)
                                               : [logPath] { return logPath; }),
      game(state, view, clock, writer) {
    game.GameSetUp();
}

void GameRig::PlayUntilEndCheck(std::uint8_t amount) {
    view.calls.clear();  // thousands of games must not pile up their calls
    game.SetAmount(amount);
    game.StartGame();
    for (int tick = 0; tick <= amount; ++tick) game.PlaybackTick();
    for (std::size_t flash = 1; flash <= amount; ++flash) {
        const int value = state.sequence[flash];
        game.BoxClick(value < 6 ? value + 1 : 1);  // a value of 6 or more names no box
    }
}

}  // namespace tandrel::test
