#include "formdefinition.h"

namespace FormDefinition {

std::span<const Control> controls()
{
    return table;
}

QStringView introduction()
{
    return introText;
}

} // namespace FormDefinition
