/* What a screen reader does first: asks each window whose title holds the given name for its
 * UI Automation root (WM_GETOBJECT). For tests under Wine only.
 *   wake.exe TITLE */
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

int wmain(int argc, WCHAR *argv[])
{
    if (argc != 2)
        return 2;
    EnumWindows(ask, (LPARAM)argv[1]);
    printf("asked %d window(s)\n", asked);
    return asked ? 0 : 1;
}
