#include "counter.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Collects the longest prefix that reads as a decimal number: sign, digits, point, exponent.
std::string numberPrefix(std::u16string_view text)
{
    std::u16string compact;
    for (const char16_t c : text) {
        if (!isBlank(c))
            compact.push_back(c);
    }
    std::string out;
    std::size_t i = 0;
    // Only ASCII is taken, so each unit narrows to the same character.
    const auto ascii = [&] {
        return char(compact[i++]);
    };
    const auto take = [&](auto accept) {
        while (i < compact.size() && accept(compact[i]))
            out.push_back(ascii());
    };
    if (i < compact.size() && (compact[i] == u'-' || compact[i] == u'+'))
        out.push_back(ascii());
    take(isDigit);
    if (i < compact.size() && compact[i] == u'.') {
        out.push_back('.');
        ++i;
        take(isDigit);
    }
    const std::size_t mantissaEnd = i;
    if (i < compact.size()
        && std::u16string_view(u"EeDd").find(compact[i]) != std::u16string_view::npos) {
        std::string exponent = "e";
        ++i;
        if (i < compact.size() && (compact[i] == u'-' || compact[i] == u'+'))
            exponent.push_back(ascii());
        const std::size_t digitsAt = exponent.size();
        while (i < compact.size() && isDigit(compact[i]))
            exponent.push_back(ascii());
        if (exponent.size() > digitsAt)
            out += exponent;
        else
            i = mantissaEnd;
    }
    return out;
}

// Whether a number too far out of range to convert is too close to zero rather than too
// large: the decimal place of its first significant digit, plus its exponent, is negative.
bool underflows(std::string_view number)
{
    const std::size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    long long place = 0;
    if (const std::size_t first = mantissa.find_first_of("123456789");
        first != std::string_view::npos) {
        const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
        place = first < point ? static_cast<long long>(point - first - 1)
                              : -static_cast<long long>(first - point);
    }
    if (e != std::string_view::npos) {
        long long exponent = 0;
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (const char d : digits) // saturates: only the sign of the sum matters
            exponent = std::min(exponent * 10 + (d - '0'), 1'000'000'000LL);
        place += negative ? -exponent : exponent;
    }
    return place < 0;
}

// The number's value, or nullopt where it is too far from the doubles' range to convert.
std::optional<double> toDouble(const std::string &number)
{
    double value = 0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return std::nullopt;
    return error == std::errc() ? value : 0.0;
#else
    // emscripten's libc++ reads no double with from_chars; its C library's strtod reads a
    // point as the decimal separator whatever the locale, and reports the same range errors.
    char *end = nullptr;
    errno = 0;
    value = std::strtod(number.c_str(), &end);
    if (errno == ERANGE)
        return std::nullopt;
    return end != number.c_str() ? value : 0.0;
#endif
}

} // namespace

namespace Counter {

double leadingNumber(std::u16string_view text)
{
    std::string number = numberPrefix(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    if (const std::optional<double> value = toDouble(number))
        return *value;
    if (underflows(number))
        return 0.0;
    return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
}

std::optional<std::int16_t> toInt16(double value)
{
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (!(rounded >= std::numeric_limits<std::int16_t>::min()
          && rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return std::int16_t(rounded);
}

std::optional<std::u16string> next(std::u16string_view text)
{
    const std::optional<std::int16_t> value = toInt16(leadingNumber(text));
    if (!value || *value == std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return decimal(*value + 1);
}

std::u16string decimal(int value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace Counter
