// Writes arbitrary bytes to a real file, reads it with the score log's reader
// and compares every line with a reference reader that follows the format
// rules one byte at a time.
//
// The first byte chooses whether the rest is written as it is or (for one
// value in eight, as the long file costs more time) behind a run of filler
// that ends just short of 64 KiB, the size of the reader's buffer, so that
// CR LF pairs, byte 26 and line ends also fall across the boundary between
// two reads.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "log/score_log.h"

namespace {

// CR ends a line and may be followed by LF; a lone LF is text; a last line
// without a terminator counts; byte 26 ends the text; nothing after a final
// terminator is no line at all. Left out of the coverage feedback, which
// belongs to the reader under test.
__attribute__((no_sanitize("coverage"))) std::vector<std::string> ReferenceLines(
    std::string_view bytes) {
    std::string_view rest = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    while (!rest.empty()) {
        const std::size_t lineEnd = rest.find('\r');
        lines.emplace_back(rest.substr(0, lineEnd));
        if (lineEnd == std::string_view::npos) break;
        rest.remove_prefix(lineEnd + 1);
        if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    }
    return lines;
}

std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        }
    }
    return out;
}

class ScratchFile {
  public:
    // In TMPDIR when set: a memory file system there (such as /dev/shm) spares
    // the disk a flush for every input.
    ScratchFile() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                              "/tandrel-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        folder_ = pattern;
        path_ = folder_ + "/trl.txt";
    }
    ~ScratchFile() {
        unlink(path_.c_str());
        rmdir(folder_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(std::string_view bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) std::abort();
        return path_;
    }

  private:
    std::string folder_;
    std::string path_;
};

void Report(std::string_view bytes, const std::vector<std::string>& expected,
            const std::vector<std::string>& actual) {
    std::fprintf(stderr, "input: \"%s\"\n", Printable(bytes).c_str());
    std::fprintf(stderr, "expected %zu lines, reader gave %zu\n", expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        std::fprintf(stderr, "  %zu: \"%s\" | \"%s\"\n", i,
                     i < expected.size() ? Printable(expected[i]).c_str() : "(none)",
                     i < actual.size() ? Printable(actual[i]).c_str() : "(none)");
    }
}

constexpr std::size_t kReaderBuffer = 64 * 1024;

std::string FileBytes(std::string_view input) {
    if (input.empty()) return {};
    const bool padded = (input[0] & 7) == 1;
    input.remove_prefix(1);
    if (!padded || input.empty()) return std::string(input);
    const auto shortBy = static_cast<unsigned char>(input[0]);
    input.remove_prefix(1);
    return std::string(kReaderBuffer - shortBy, 'x').append(input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string bytes = FileBytes({reinterpret_cast<const char*>(data), size});

    std::vector<std::string> actual;
    tandrel::log::ReadLines(scratch.Write(bytes),
                            [&actual](std::string_view line) { actual.emplace_back(line); });

    const std::vector<std::string> expected = ReferenceLines(bytes);
    if (actual != expected) {
        Report(bytes, expected, actual);
        std::abort();
    }
    return 0;
}
