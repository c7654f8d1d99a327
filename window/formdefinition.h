#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QStringView>

#include <array>
#include <span>

// What the window is made of, as data: its controls with their places in twips, texts and
// tab indexes, and the window's own caption, size and colours.
namespace FormDefinition {

enum class Kind { Label, ListBox, CounterBox, MessageBox, Button };

struct Control
{
    Kind kind;
    QStringView array; // the control array it belongs to
    int index;         // its member number there
    QRect twips;       // left, top, width, height within the client area
    QStringView text;
    int tabIndex;
    QStringView accessibleName;
    QStringView accessibleDescription;
};

#include "formtable.h" // the window as data/form.json defines it

std::span<const Control> controls();
// The message field's first text: five paragraphs, each closed by CR LF.
QStringView introduction();

} // namespace FormDefinition
