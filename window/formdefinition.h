#pragma once

#include "form.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QStringView>

#include <array>
#include <span>

// The form table (data/form.h) in Qt's types, for the Qt face and its tests.
namespace FormDefinition {

using Form::Kind;

struct Control
{
    Kind kind = Kind::Label;
    QStringView array; // the control array it belongs to
    int index = 0;     // its member number there
    QRect twips;       // left, top, width, height within the client area
    QStringView text;
    int tabIndex = 0;
    QStringView accessibleName;
    QStringView accessibleDescription;
};

constexpr QStringView view(std::u16string_view text)
{
    return {text.data(), qsizetype(text.size())};
}

constexpr QColor colour(const Form::Rgb &rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

inline constexpr QStringView title = view(Form::title);
inline constexpr QSize clientTwips{Form::client.width, Form::client.height};
inline constexpr int twipsPerPixel = Form::twipsPerPixel;
inline constexpr QColor windowColour = colour(Form::windowColour);
inline constexpr QColor labelColour = colour(Form::labelColour);
inline constexpr QColor buttonColour = colour(Form::buttonColour);
inline constexpr QStringView fontFamily = view(Form::fontFamily);
inline constexpr int fontPoints = Form::fontPoints;

std::span<const Control> controls();
// The message field's first text: five paragraphs, each closed by CR LF.
QStringView introduction();
// A place in twips, in pixels at this many dots per inch.
QRect toPixels(const QRect &twips, int dpi);

} // namespace FormDefinition
