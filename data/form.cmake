# The window's form table is data/form.json, read by the page and the checks as it is; for
# the desktop this writes it out as C++ (the FormDefinition namespace's constants).
set(ZUN_FORM_JSON ${CMAKE_CURRENT_LIST_DIR}/form.json)

function(zun_cxx_text out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    set(${out} "u\"${text}\"" PARENT_SCOPE)
endfunction()

# One optional text member of a control, as a C++ literal or {} where it has none.
function(zun_form_member out control member)
    string(JSON text ERROR_VARIABLE missing GET "${control}" ${member})
    if(missing)
        set(${out} "{}" PARENT_SCOPE)
    else()
        zun_cxx_text(literal "${text}")
        set(${out} "${literal}" PARENT_SCOPE)
    endif()
endfunction()

function(zun_form_header header)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZUN_FORM_JSON})
    file(READ ${ZUN_FORM_JSON} form)
    string(JSON title GET "${form}" title)
    zun_cxx_text(title "${title}")
    string(JSON family GET "${form}" font family)
    zun_cxx_text(family "${family}")
    string(JSON points GET "${form}" font points)
    string(JSON perPixel GET "${form}" twipsPerPixel)
    string(JSON width GET "${form}" client 0)
    string(JSON height GET "${form}" client 1)
    set(colours "")
    foreach(colour window label button)
        string(JSON rgb GET "${form}" colours ${colour})
        string(REGEX REPLACE "[][ ]" "" rgb "${rgb}")
        string(APPEND colours "inline constexpr QColor ${colour}Colour{${rgb}};\n")
    endforeach()
    set(rows "")
    string(JSON count LENGTH "${form}" controls)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        string(JSON c GET "${form}" controls ${i})
        string(JSON kind GET "${c}" kind)
        string(JSON array GET "${c}" array)
        string(JSON index GET "${c}" index)
        string(JSON twips GET "${c}" twips)
        string(REGEX REPLACE "[][ ]" "" twips "${twips}")
        string(JSON tabIndex GET "${c}" tabIndex)
        zun_form_member(text "${c}" text)
        zun_form_member(name "${c}" name)
        zun_form_member(description "${c}" description)
        string(APPEND rows "    {Kind::${kind}, u\"${array}\", ${index}, {${twips}}, ${text}, ${tabIndex}, "
                           "${name}, ${description}},\n")
    endforeach()
    set(intro "")
    string(JSON paragraphs LENGTH "${form}" introduction)
    math(EXPR last "${paragraphs} - 1")
    foreach(i RANGE ${last})
        string(JSON paragraph GET "${form}" introduction ${i})
        zun_cxx_text(paragraph "${paragraph}\r\n")
        string(APPEND intro "        ${paragraph}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${header} CONTENT [[
// Written by the build from data/form.json: edit that, not this.
inline constexpr QStringView title = @title@;
inline constexpr QSize clientTwips{@width@, @height@};
inline constexpr int twipsPerPixel = @perPixel@;
@colours@inline constexpr QStringView fontFamily = @family@;
inline constexpr int fontPoints = @points@;
inline constexpr std::array<Control, @count@> table{{
@rows@}};
// The message field's first text: paragraphs, each closed by CR LF.
inline constexpr QStringView introText =
@intro@        ;
]] @ONLY)
endfunction()
