# The round every check plays (acceptance/round.json), written out as C++ for the tests that
# play it in-process: the names of a fresh round, and each step's keys and what follows.

# A text as a C++ literal, as data/form.cmake writes the form's; the field holds CR LF where
# it shows a break.
function(zun_round_text out text)
    string(REPLACE "\n" "\r\n" text "${text}")
    zun_cxx_text(literal "${text}")
    set(${out} "${literal}" PARENT_SCOPE)
endfunction()

function(zun_round_member out object member)
    string(JSON type ERROR_VARIABLE missing TYPE "${object}" ${member})
    if(missing OR type STREQUAL "NULL")
        set(${out} "{}" PARENT_SCOPE)
        return()
    endif()
    string(JSON text GET "${object}" ${member})
    zun_round_text(literal "${text}")
    set(${out} "${literal}" PARENT_SCOPE)
endfunction()

function(zun_round_list out object member)
    set(items "")
    string(JSON count ERROR_VARIABLE missing LENGTH "${object}" ${member})
    if(NOT missing AND count GREATER 0)
        math(EXPR last "${count} - 1")
        foreach(i RANGE ${last})
            string(JSON item GET "${object}" ${member} ${i})
            zun_round_text(item "${item}")
            string(APPEND items "${item}, ")
        endforeach()
    endif()
    set(${out} "{${items}}" PARENT_SCOPE)
endfunction()

function(zun_round_header header)
    set(json ${PROJECT_SOURCE_DIR}/acceptance/round.json)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${json})
    file(READ ${json} round)
    zun_round_list(greek "${round}" greek)
    zun_round_list(roman "${round}" roman)
    zun_round_member(right "${round}" "verdict;right")
    zun_round_member(wrong "${round}" "verdict;wrong")
    set(steps "")
    string(JSON count LENGTH "${round}" steps)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        string(JSON step GET "${round}" steps ${i})
        zun_round_list(keys "${step}" keys)
        zun_round_list(counts "${step}" counts)
        zun_round_list(say "${step}" say)
        foreach(member focus list value message)
            zun_round_member(${member} "${step}" ${member})
        endforeach()
        string(JSON type ERROR_VARIABLE none TYPE "${step}" message)
        set(hasMessage false)
        if(NOT none)
            set(hasMessage true)
        endif()
        string(APPEND steps "    {${keys}, ${focus}, ${list}, ${value}, ${hasMessage}, ${message}, ${counts}, ${say}},\n")
    endforeach()
    file(CONFIGURE OUTPUT ${header} CONTENT [[
// Written by the build from acceptance/round.json: edit that, not this.
#pragma once
#include <array>
#include <string_view>
#include <vector>
namespace PlayedRound {
inline const std::vector<std::u16string_view> greek@greek@, roman@roman@;
struct Step
{
    std::vector<std::u16string_view> keys; // as xdotool names them
    std::u16string_view focus, list, value; // where the focus ends; its list; what it shows
    bool checksMessage;
    std::u16string_view message;
    std::vector<std::u16string_view> counts; // right, wrong, where the step gives them
    std::vector<std::u16string_view> say; // what is announced: a name, then a description
};
// The message field's text for a right pair (%1 Greek, %2 Roman, %3 the domain), a wrong one.
inline constexpr std::u16string_view rightVerdict = @right@, wrongVerdict = @wrong@;
inline const std::vector<Step> steps{
@steps@};
} // namespace PlayedRound
]] @ONLY)
endfunction()
