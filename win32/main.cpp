#include "quizwindow.h"

#include <commctrl.h>
#include <objbase.h>

// One window a pupil's session: starting the quiz again brings the open one forward, so
// that a double start never leaves a round hidden behind another.
bool showTheOpenOne()
{
    CreateMutexW(nullptr, FALSE, L"Local\\zun-mitologia");
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    for (int tries = 0; tries < 50; ++tries) { // the first may still be making its window
        if (HWND open = FindWindowW(QuizWindow::className, nullptr)) {
            ShowWindow(open, SW_SHOWNORMAL);
            SetForegroundWindow(open);
            return true;
        }
        Sleep(100);
    }
    return false;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    if (showTheOpenOne())
        return 0;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // the screen readers' COM calls
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    QuizWindow *form = QuizWindow::create(instance);
    if (!form)
        return 1;
    HWND window = form->handle();
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        QuizWindow::process(window, message);
    CoUninitialize();
    return int(message.wParam);
}
