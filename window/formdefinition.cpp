#include "formdefinition.h"

namespace FormDefinition {

namespace {

constexpr Control fromForm(const Form::Control &c)
{
    const auto [left, top, width, height] = c.twips;
    return {c.kind,
            view(c.array),
            c.index,
            QRect(left, top, width, height),
            view(c.text),
            c.tabIndex,
            view(c.name),
            view(c.description)};
}

constexpr auto table = [] {
    std::array<Control, Form::controls.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = fromForm(Form::controls[i]);
    return out;
}();

} // namespace

std::span<const Control> controls()
{
    return table;
}

QStringView introduction()
{
    return view(Form::introduction);
}

QRect toPixels(const QRect &twips, int dpi)
{
    const Form::Rect px
            = Form::toPixels({twips.x(), twips.y(), twips.width(), twips.height()}, dpi);
    return {px.left, px.top, px.width, px.height};
}

} // namespace FormDefinition
