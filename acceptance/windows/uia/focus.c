/* What a screen reader would read where the quiz's focus is, as one JSON object: the focused
 * control's window (whose name the program gave it, in the log), its class, and the name the
 * frame is on (a list) or the text it shows (a field). For tests under Wine only: Wine's own
 * lists raise no event for their framed item. */
#include <windows.h>

#include <stdio.h>

static void putUtf8(const WCHAR *text)
{
    char utf8[4096];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    putchar('"');
    for (const char *c = utf8; *c; ++c) {
        if (*c == '"' || *c == '\\')
            putchar('\\');
        if ((unsigned char)*c >= 0x20)
            putchar(*c);
    }
    putchar('"');
}

int wmain(void)
{
    HWND window = FindWindowW(L"ZunMitologiaQuizForm", NULL);
    GUITHREADINFO thread;
    ZeroMemory(&thread, sizeof thread);
    thread.cbSize = sizeof thread;
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &thread)) {
        puts("{}");
        return 1;
    }
    WCHAR kind[64] = L"", text[2048] = L"";
    GetClassNameW(thread.hwndFocus, kind, 64);
    if (!lstrcmpiW(kind, L"ListBox")) {
        LRESULT caret = SendMessageW(thread.hwndFocus, LB_GETCARETINDEX, 0, 0);
        if (SendMessageW(thread.hwndFocus, LB_GETTEXTLEN, caret, 0) < 2048)
            SendMessageW(thread.hwndFocus, LB_GETTEXT, caret, (LPARAM)text);
    } else {
        SendMessageW(thread.hwndFocus, WM_GETTEXT, 2048, (LPARAM)text); /* not its caption */
    }
    printf("{\"hwnd\":%lu,\"class\":", (unsigned long)(ULONG_PTR)thread.hwndFocus);
    putUtf8(kind);
    fputs(",\"text\":", stdout);
    putUtf8(text);
    puts("}");
    return 0;
}
