#pragma once

#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

// The core speaks standard 16-bit strings; the tests compare in QString, which QTest prints.
inline QString q(std::u16string_view text)
{
    return QStringView(text).toString();
}

inline QStringList q(const std::vector<std::u16string> &texts)
{
    QStringList list;
    for (const std::u16string &text : texts)
        list << q(text);
    return list;
}
