#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace tandrel::log {

// Byte 26: the end of the log's text, whatever follows it in the file.
inline constexpr char kEndOfText = '\x1a';

// Cuts the text of the log into lines as it arrives in chunks of any size. A
// CR ends a line and may be followed by an LF; a lone LF is part of the line.
// Byte 26 ends the text. Lines that lie whole in one chunk are handed on
// without being copied.
class LineSplitter {
  public:
    using LineHandler = std::function<void(std::string_view)>;

    explicit LineSplitter(LineHandler onLine) : onLine_(std::move(onLine)) {}

    // Takes the next bytes of the file. Returns false once the end of the
    // text has been met; nothing fed after that is looked at.
    bool Feed(std::string_view bytes);

    // Hands on the last line when the text ended without a terminator.
    void Finish();

  private:
    void TakeLines(std::string_view text);
    void HandOn(std::string_view lineEnd);

    LineHandler onLine_;
    std::string unfinishedLine_;      // start of a line that ends in a later chunk
    bool lineFeedMayFollow_ = false;  // the last chunk ended with a CR
    bool endOfTextMet_ = false;
};

}  // namespace tandrel::log
