#pragma once

#include <string>

// A text field as the round logic sees it: its text reads back exactly as last written.
class TextField
{
public:
    virtual ~TextField() = default;

    virtual std::u16string text() const = 0;
    virtual void setText(const std::u16string &text) = 0;
};
