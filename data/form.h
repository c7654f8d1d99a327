#pragma once

#include <array>
#include <string_view>

// The window as data: its caption, size, colours, font and controls, with their places in
// twips, texts, names and tab indexes. Every face builds its window from this, and the
// checks read the same data/form.json it is written from.
namespace Form {

enum class Kind { Label, ListBox, CounterBox, MessageBox, Button };

struct Rect
{
    int left = 0, top = 0, width = 0, height = 0;
};

struct Rgb
{
    int red = 0, green = 0, blue = 0;
};

struct Control
{
    Kind kind = Kind::Label;
    std::u16string_view array; // the control array it belongs to
    int index = 0;             // its member number there
    Rect twips;                // left, top, width, height within the client area
    std::u16string_view text;
    int tabIndex = 0;
    std::u16string_view name;        // what a screen reader calls it, where the text is not
    std::u16string_view description; // how to use it, where that is not plain
};

#include "formtable.h" // the values, written by the build from data/form.json

// Edges, not sizes, are converted, so that controls that touch in twips still touch.
constexpr int toPixels(int twips, int dpi)
{
    return (twips * dpi + 720) / 1440;
}

constexpr Rect toPixels(const Rect &twips, int dpi)
{
    const int x = toPixels(twips.left, dpi);
    const int y = toPixels(twips.top, dpi);
    return {x,
            y,
            toPixels(twips.left + twips.width, dpi) - x,
            toPixels(twips.top + twips.height, dpi) - y};
}

} // namespace Form
