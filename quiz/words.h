#pragma once

#include "quiz.h"

#include <string>
#include <string_view>

// The words every face says to a pupil through a screen reader, written once: what each
// outcome is told as, and where the frame is.

// What a screen reader is told of an outcome, at once: a first sentence, and what follows
// it (for a verdict the domain, both counts and where the frame now is in the list with the
// focus; for a new round the names and counts).
struct Announcement
{
    std::u16string first, then;
};
Announcement announce(const Outcome &outcome, std::u16string_view framedName = {});
// "Рамката е на ...": where the keys would pick in a list, said after a verdict and on
// entering a list; nothing for an empty list.
std::u16string whereTheFrameIs(std::u16string_view framedName);
