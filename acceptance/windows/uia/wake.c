/* What a screen reader does first: asks each window titled with the quiz's name for its UI
 * Automation root (WM_GETOBJECT), which switches Qt's bridge on. For tests under Wine only. */
#include <windows.h>
#include <uiautomation.h>

#include <stdio.h>
#include <wchar.h>

static int asked;

static BOOL CALLBACK ask(HWND window, LPARAM title)
{
    WCHAR text[256];
    if (GetWindowTextW(window, text, 256) && wcsstr(text, (const WCHAR *)title)) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_GETOBJECT, 0, (LPARAM)UiaRootObjectId, SMTO_ABORTIFHUNG,
                            5000, &result);
        ++asked;
    }
    return TRUE;
}

int wmain(void)
{
    EnumWindows(ask, (LPARAM)L"ЗУН - митология");
    printf("asked %d window(s)\n", asked);
    return asked ? 0 : 1;
}
