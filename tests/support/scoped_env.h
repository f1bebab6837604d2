#pragma once

#include <optional>
#include <string>

namespace tandrel::test {

// Restores an environment variable at the end of the test, to its value or
// its absence when the object was made; optionally sets it meanwhile.
class ScopedEnv {
  public:
    explicit ScopedEnv(std::string name);
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace tandrel::test
