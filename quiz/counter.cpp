#include "counter.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Collects the longest prefix that reads as a decimal number: sign, digits, point, exponent.
std::string numberPrefix(QStringView text)
{
    QString compact;
    for (QChar c : text) {
        if (!isBlank(c))
            compact.append(c);
    }
    std::string out;
    qsizetype i = 0;
    const auto take = [&](auto accept) {
        while (i < compact.size() && accept(compact.at(i)))
            out.push_back(char(compact.at(i++).unicode()));
    };
    if (i < compact.size() && (compact.at(i) == u'-' || compact.at(i) == u'+'))
        out.push_back(char(compact.at(i++).unicode()));
    take(isDigit);
    if (i < compact.size() && compact.at(i) == u'.') {
        out.push_back('.');
        ++i;
        take(isDigit);
    }
    const qsizetype mantissaEnd = i;
    if (i < compact.size() && QStringView(u"EeDd").contains(compact.at(i))) {
        std::string exponent = "e";
        ++i;
        if (i < compact.size() && (compact.at(i) == u'-' || compact.at(i) == u'+'))
            exponent.push_back(char(compact.at(i++).unicode()));
        const std::size_t digitsAt = exponent.size();
        while (i < compact.size() && isDigit(compact.at(i)))
            exponent.push_back(char(compact.at(i++).unicode()));
        if (exponent.size() > digitsAt)
            out += exponent;
        else
            i = mantissaEnd;
    }
    return out;
}

} // namespace

namespace Counter {

double leadingNumber(QStringView text)
{
    std::string number = numberPrefix(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return error == std::errc() ? value : 0.0;
}

std::optional<qint16> toInt16(double value)
{
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (!(rounded >= std::numeric_limits<qint16>::min()
          && rounded <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return qint16(rounded);
}

std::optional<QString> next(QStringView text)
{
    const std::optional<qint16> value = toInt16(leadingNumber(text));
    if (!value || *value == std::numeric_limits<qint16>::max())
        return std::nullopt;
    return QString::number(*value + 1);
}

} // namespace Counter
