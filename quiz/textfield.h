#pragma once

class QString;

// A text field as the round logic sees it: its text reads back exactly as last written.
class TextField
{
public:
    virtual ~TextField() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};
