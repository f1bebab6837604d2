#include "log/line_splitter.h"

#include <cstring>

namespace tandrel::log {

namespace {
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
}  // namespace

bool LineSplitter::Feed(std::string_view bytes) {
    if (endOfTextMet_ || bytes.empty()) {
        return !endOfTextMet_;
    }
    const void* mark = std::memchr(bytes.data(), kEndOfText, bytes.size());
    if (mark != nullptr) {
        bytes = bytes.substr(
            0, static_cast<std::size_t>(static_cast<const char*>(mark) - bytes.data()));
        endOfTextMet_ = true;
    }
    TakeLines(bytes);
    return !endOfTextMet_;
}

void LineSplitter::Finish() {
    if (!unfinishedLine_.empty()) {
        onLine_(unfinishedLine_);
        unfinishedLine_.clear();
    }
}

void LineSplitter::TakeLines(std::string_view text) {
    if (lineFeedMayFollow_ && !text.empty()) {
        lineFeedMayFollow_ = false;
        if (text.front() == kLineFeed) {
            text.remove_prefix(1);
        }
    }
    for (;;) {
        const void* found = std::memchr(text.data(), kCarriageReturn, text.size());
        if (found == nullptr) {
            unfinishedLine_.append(text);
            return;
        }
        const auto lineLength =
            static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        HandOn(text.substr(0, lineLength));
        text.remove_prefix(lineLength + 1);
        if (text.empty()) {
            lineFeedMayFollow_ = true;
            return;
        }
        if (text.front() == kLineFeed) {
            text.remove_prefix(1);
        }
    }
}

void LineSplitter::HandOn(std::string_view lineEnd) {
    if (unfinishedLine_.empty()) {
        onLine_(lineEnd);
        return;
    }
    unfinishedLine_.append(lineEnd);
    onLine_(unfinishedLine_);
    unfinishedLine_.clear();
}

}  // namespace tandrel::log
