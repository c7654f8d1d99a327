#pragma once

#include <QColor>
#include <QRect>
#include <QStringView>

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

inline constexpr QStringView title = u"ЗУН - митология";

inline constexpr QSize clientTwips{6405, 5400};
inline constexpr QColor windowColour{192, 192, 255};
inline constexpr QColor labelColour{255, 192, 128};
inline constexpr QColor buttonColour{255, 128, 128};
inline constexpr QStringView fontFamily = u"Times New Roman";
inline constexpr int fontPoints = 12;

std::span<const Control> controls();
// The message field's first text: five paragraphs, each closed by CR LF.
QStringView introduction();

} // namespace FormDefinition
