#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Answer counts live only as the decimal text of their fields, which are read-only: the
// text read back is always one the program wrote ("0" to "16" in a round). These read it
// and advance it in 16-bit arithmetic with an overflow check.
namespace Counter {

// The whole number the text starts with (blanks skipped, a sign allowed), 0 where it starts
// with none; nothing where it lies outside 16 bits.
std::optional<std::int16_t> value(std::u16string_view text);
// The text one higher; nothing when the text is no 16-bit number or the sum would overflow.
std::optional<std::u16string> next(std::u16string_view text);
// A number's decimal text: digits, with a minus sign only when negative.
std::u16string decimal(int value);

} // namespace Counter
