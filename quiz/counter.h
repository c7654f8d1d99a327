#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Answer counts live only as the decimal text of their fields; these read and advance them
// the way the classic forms runtime does: a lenient number parse, then a checked 16-bit value.
namespace Counter {

// The number at the start of the text, blanks ignored; 0 when there is none.
double leadingNumber(QStringView text);
// Rounds half to even; nothing when the result does not fit 16 bits.
std::optional<qint16> toInt16(double value);
// The text one higher; nothing when the text is no 16-bit number or the sum would overflow.
std::optional<QString> next(QStringView text);

} // namespace Counter
