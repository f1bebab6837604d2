#pragma once

// What only the Windows half of the score log's platform layer has.

#include <string>

namespace tandrel::log {

// The Windows directory as the system reports it.
std::string GetWinDir();

}  // namespace tandrel::log
