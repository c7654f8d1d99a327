#pragma once

#include "editfield.h"
#include "listbox.h"

#include "form.h"
#include "quiz.h"
#include "words.h"

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

// The quiz's only window, of Windows' own controls: built from the form table, at the
// monitor's scaling (and again when it changes), it plugs its list boxes and fields into
// the round logic and routes the load, list-click and button-click events to it.
class QuizWindow
{
public:
    static constexpr const wchar_t *className = L"ZunMitologiaQuizForm";

    // Registers the class and creates the window, hidden; nullptr where Windows refused.
    static QuizWindow *create(HINSTANCE instance);
    HWND handle() const { return m_window; }
    // One message of the thread's loop: Enter as the window takes it, Tab by the dialog
    // manager, the rest to its window. Safe after the window is gone.
    static void process(HWND window, MSG &message);

private:
    explicit QuizWindow(HWND window);
    bool preTranslate(const MSG &message);
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HINSTANCE instance);
    HWND createControl(HINSTANCE instance, const Form::Control &control, int id);
    void layOut(int dpi);
    void fitClientArea(const Form::Rect &client);
    void markFocus();
    LRESULT colour(HDC dc, HWND control);
    void drawButton(const DRAWITEMSTRUCT &item);
    void List1_Click(std::int16_t index);
    void Command1_Click(std::int16_t index);
    void tell(const Outcome &outcome);

    HWND m_window;
    int m_dpi = 96;
    SIZE m_size{}; // the whole window's, frame and all
    HFONT m_font = nullptr;
    struct Placed
    {
        HWND window;
        Form::Rect twips;
        Form::Kind kind;
    };
    std::vector<Placed> m_controls;
    std::array<HWND, 4> m_focusMark{}; // four bars around the control with the focus
    HWND m_button = nullptr;
    std::array<std::unique_ptr<ListBox>, 2> m_list1;
    std::unique_ptr<EditField> m_text1;
    std::array<std::unique_ptr<EditField>, 2> m_text2;
    std::unique_ptr<Quiz> m_quiz;
};
