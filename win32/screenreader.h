#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// What a screen reader (NVDA, JAWS, Narrator) is told beyond what Windows' own controls
// tell it: each control's name and how to use it, and the quiz's sentences, said at once
// as UI Automation notifications from the window, wherever the focus is.
namespace ScreenReader {

// The name and description every reader takes for the control (MSAA's and UI
// Automation's alike), in place of what Windows would guess from the label before it.
void name(HWND control, std::u16string_view name, std::u16string_view description = {});

// Answers WM_GETOBJECT for the window: UI Automation's root for it is a provider of our
// own, so that the window can raise notifications; everything else is the window's.
LRESULT answer(HWND window, WPARAM wParam, LPARAM lParam);

// One sentence, spoken after what is being said now is cut short. Windows before 10 1709
// has no notifications: there this says nothing.
void say(HWND window, const std::u16string &sentence);

// Lets go of the window's provider, as it is destroyed.
void forget(HWND window);

} // namespace ScreenReader
