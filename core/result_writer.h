#pragma once

#include <cstdint>
#include <string>

#include "core/date.h"

namespace tandrel::core {

// Where a finished game's result goes.
class ResultWriter {
  public:
    virtual ~ResultWriter() = default;
    virtual void WriteResult(const Date& date, const std::string& name, std::uint8_t score,
                             std::uint8_t amount) = 0;  // throws on failure
};

}  // namespace tandrel::core
