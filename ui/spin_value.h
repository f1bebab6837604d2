#pragma once

#include <cstdint>
#include <string_view>

namespace tandrel::ui {

// The value of a spin field's text: after leading spaces, an optional sign and
// decimal digits, or "$" and hexadecimal digits, within the signed 32-bit
// range (hexadecimal below 2^31). Any other text gives no number.
// Returns true and sets `value` for a number.
bool ParseSpinText(std::string_view text, std::int32_t& value);

// The value a field with this minimum reads from `text`.
std::int32_t SpinValue(std::string_view text, std::int32_t minimum);

}  // namespace tandrel::ui
