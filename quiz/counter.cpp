#include "counter.h"

#include <limits>

namespace Counter {

std::optional<std::int16_t> value(std::u16string_view text)
{
    std::size_t i = text.find_first_not_of(u" \t\r\n");
    if (i == std::u16string_view::npos)
        return 0;
    const bool negative = text[i] == u'-';
    if (negative || text[i] == u'+')
        ++i;
    long number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        number = number * 10 + (text[i] - u'0');
        if (number > 32768) // past what 16 bits hold either way
            return std::nullopt;
    }
    number = negative ? -number : number;
    if (number > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(number);
}

std::optional<std::u16string> next(std::u16string_view text)
{
    const std::optional<std::int16_t> now = value(text);
    if (!now || *now == std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return decimal(*now + 1);
}

std::u16string decimal(int value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace Counter
