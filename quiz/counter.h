#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Answer counts live only as the decimal text of their fields; these read and advance them
// the way the classic forms runtime does: a lenient number parse, then a checked 16-bit value.
namespace Counter {

// The number at the start of the text, blanks ignored; 0 when there is none.
double leadingNumber(std::u16string_view text);
// Rounds half to even; nothing when the result does not fit 16 bits.
std::optional<std::int16_t> toInt16(double value);
// The text one higher; nothing when the text is no 16-bit number or the sum would overflow.
std::optional<std::u16string> next(std::u16string_view text);
// A number's decimal text: digits, with a minus sign only when negative.
std::u16string decimal(int value);

} // namespace Counter
