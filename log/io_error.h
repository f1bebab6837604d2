#pragma once

#include <stdexcept>
#include <string>

namespace tandrel::log {

// An input/output failure of the score log. The code follows the Win32 error
// numbering on every system; the message is chosen by the code.
class IoError : public std::runtime_error {
  public:
    explicit IoError(int code);
    int Code() const noexcept { return code_; }

  private:
    int code_;
};

// "File not found" for 2, "Invalid filename" for 3, ... "I/O error <code>" otherwise.
std::string IoErrorMessage(int code);

}  // namespace tandrel::log
