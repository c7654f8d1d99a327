# The window's form table is data/form.json, read by the page and the checks as it is; for
# the faces in C++ this writes its values out as constants of data/form.h's types.
set(ZUN_FORM_JSON ${CMAKE_CURRENT_LIST_DIR}/form.json)
# The window's title names the program everywhere else too: packages, menus, installers.
file(READ ${ZUN_FORM_JSON} zun_form)
string(JSON ZUN_TITLE GET "${zun_form}" title)

function(zun_cxx_text out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    set(${out} "u\"${text}\"" PARENT_SCOPE)
endfunction()

# One optional text member of a JSON object, as a C++ literal or {} where it has none.
function(zun_form_member out object member)
    string(JSON text ERROR_VARIABLE missing GET "${object}" ${member})
    if(missing)
        set(${out} "{}" PARENT_SCOPE)
    else()
        zun_cxx_text(literal "${text}")
        set(${out} "${literal}" PARENT_SCOPE)
    endif()
endfunction()

# The members of a JSON array, each given to a function that appends it to a C++ list.
function(zun_form_each out form key function)
    set(list "")
    string(JSON count LENGTH "${form}" ${key})
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        string(JSON item GET "${form}" ${key} ${i})
        cmake_language(CALL ${function} item "${item}")
        string(APPEND list "${item}")
    endforeach()
    set(${out} "${list}" PARENT_SCOPE)
    set(${out}_count ${count} PARENT_SCOPE)
endfunction()

function(zun_form_control out c)
    string(JSON kind GET "${c}" kind)
    string(JSON array GET "${c}" array)
    string(JSON index GET "${c}" index)
    string(JSON twips GET "${c}" twips)
    string(REGEX REPLACE "[][ ]" "" twips "${twips}")
    string(JSON tabIndex GET "${c}" tabIndex)
    zun_form_member(text "${c}" text)
    zun_form_member(name "${c}" name)
    zun_form_member(description "${c}" description)
    set(${out} "    {Kind::${kind}, u\"${array}\", ${index}, {${twips}}, ${text}, ${tabIndex}, ${name}, ${description}},\n" PARENT_SCOPE)
endfunction()

function(zun_form_paragraph out paragraph)
    zun_cxx_text(paragraph "${paragraph}\r\n")
    set(${out} "        ${paragraph}\n" PARENT_SCOPE)
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
        string(APPEND colours "inline constexpr Rgb ${colour}Colour{${rgb}};\n")
    endforeach()
    zun_form_each(rows "${form}" controls zun_form_control)
    zun_form_each(intro "${form}" introduction zun_form_paragraph)
    file(CONFIGURE OUTPUT ${header} CONTENT [[
// Written by the build from data/form.json: edit that, not this.
inline constexpr std::u16string_view title = @title@;
inline constexpr Rect client{0, 0, @width@, @height@};
inline constexpr int twipsPerPixel = @perPixel@;
@colours@inline constexpr std::u16string_view fontFamily = @family@;
inline constexpr int fontPoints = @points@;
inline constexpr std::array<Control, @rows_count@> controls{{
@rows@}};
// The message field's first text: paragraphs, each closed by CR LF.
inline constexpr std::u16string_view introduction =
@intro@        ;
]] @ONLY)
endfunction()
