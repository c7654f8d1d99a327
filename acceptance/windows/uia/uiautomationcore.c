/* A stand-in for Windows' UIAutomationCore.dll, for tests under Wine only: Wine has no UI
 * Automation client, and its own DLL reports that nobody listens and raises nothing. This
 * one says a client listens, and writes every event the program raises to the file named
 * by ZUN_UIA_LOG, one JSON object a line, with what a screen reader would read of the
 * element: its name, control type, full description, help, value, the size of its set and
 * its parent's name.
 * Never shipped. */
#define COBJMACROS
#include <windows.h>
#include <ole2.h>
#include <initguid.h>
#include <oleacc.h>
#include <uiautomation.h>

#include <stdio.h>

static CRITICAL_SECTION lock;

/* JSON string of a UTF-16 text, escaped. */
static void putText(FILE *out, const WCHAR *text)
{
    char utf8[4096];
    int n = text ? WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL) : 0;
    fputc('"', out);
    for (int i = 0; i + 1 < n; ++i) {
        unsigned char c = (unsigned char)utf8[i];
        if (c == '"' || c == '\\')
            fprintf(out, "\\%c", c);
        else if (c < 0x20)
            fprintf(out, "\\u%04x", c);
        else
            fputc(c, out);
    }
    fputc('"', out);
}

static void putVariant(FILE *out, const VARIANT *value)
{
    if (V_VT(value) == VT_BSTR)
        putText(out, V_BSTR(value));
    else if (V_VT(value) == VT_I4)
        fprintf(out, "%ld", (long)V_I4(value));
    else if (V_VT(value) == VT_BOOL)
        fputs(V_BOOL(value) ? "true" : "false", out);
    else
        fputs("null", out);
}

static void putProperty(FILE *out, IRawElementProviderSimple *element, const char *key, PROPERTYID id)
{
    VARIANT value;
    VariantInit(&value);
    fprintf(out, ",\"%s\":", key);
    if (element && SUCCEEDED(IRawElementProviderSimple_GetPropertyValue(element, id, &value)))
        putVariant(out, &value);
    else
        fputs("null", out);
    VariantClear(&value);
}

/* MinGW's headers lack the Value pattern's interface: its IID and the start of its table. */
static const IID valueProviderIid = {0xc7935180, 0x6fb3, 0x4201,
                                     {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};
typedef struct ValueProvider ValueProvider;
struct ValueProviderTable
{
    HRESULT(STDMETHODCALLTYPE *QueryInterface)(ValueProvider *, REFIID, void **);
    ULONG(STDMETHODCALLTYPE *AddRef)(ValueProvider *);
    ULONG(STDMETHODCALLTYPE *Release)(ValueProvider *);
    HRESULT(STDMETHODCALLTYPE *SetValue)(ValueProvider *, LPCWSTR);
    HRESULT(STDMETHODCALLTYPE *get_Value)(ValueProvider *, BSTR *);
};
struct ValueProvider
{
    const struct ValueProviderTable *table;
};

/* The element's value, as a client reads it: through its Value pattern. */
static void putValue(FILE *out, IRawElementProviderSimple *element)
{
    IUnknown *pattern = NULL;
    ValueProvider *provider = NULL;
    BSTR value = NULL;
    fputs(",\"value\":", out);
    if (element
        && SUCCEEDED(IRawElementProviderSimple_GetPatternProvider(element, UIA_ValuePatternId,
                                                                  &pattern))
        && pattern
        && SUCCEEDED(IUnknown_QueryInterface(pattern, &valueProviderIid, (void **)&provider))
        && SUCCEEDED(provider->table->get_Value(provider, &value)))
        putText(out, value);
    else
        fputs("null", out);
    SysFreeString(value);
    if (provider)
        provider->table->Release(provider);
    if (pattern)
        IUnknown_Release(pattern);
}

/* The name of the element's parent: the list a focused name belongs to. */
static void putParent(FILE *out, IRawElementProviderSimple *element)
{
    IRawElementProviderFragment *fragment = NULL, *parent = NULL;
    IRawElementProviderSimple *simple = NULL;
    if (element
        && SUCCEEDED(IRawElementProviderSimple_QueryInterface(
                element, &IID_IRawElementProviderFragment, (void **)&fragment))
        && SUCCEEDED(IRawElementProviderFragment_Navigate(fragment, NavigateDirection_Parent,
                                                          &parent))
        && parent
        && SUCCEEDED(IRawElementProviderFragment_QueryInterface(
                parent, &IID_IRawElementProviderSimple, (void **)&simple)))
        putProperty(out, simple, "parent", UIA_NamePropertyId);
    if (simple)
        IRawElementProviderSimple_Release(simple);
    if (parent)
        IRawElementProviderFragment_Release(parent);
    if (fragment)
        IRawElementProviderFragment_Release(fragment);
}

/* One line: the time (Unix seconds), what was raised, and the element it was raised on. */
static void logRaise(IRawElementProviderSimple *element, const char *what, int id,
                     const VARIANT *value)
{
    WCHAR path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"ZUN_UIA_LOG", path, MAX_PATH))
        return;
    EnterCriticalSection(&lock);
    FILE *out = _wfopen(path, L"ab");
    if (out) {
        FILETIME now;
        GetSystemTimePreciseAsFileTime(&now);
        ULONGLONG ticks = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
        fprintf(out, "{\"time\":%.3f,\"raise\":\"%s\",\"id\":%d",
                (double)(ticks - 116444736000000000ULL) / 1e7, what, id);
        if (value) {
            fputs(",\"text\":", out);
            putVariant(out, value);
        }
        putProperty(out, element, "name", UIA_NamePropertyId);
        putProperty(out, element, "type", UIA_ControlTypePropertyId);
        putProperty(out, element, "description", UIA_FullDescriptionPropertyId);
        putProperty(out, element, "help", UIA_HelpTextPropertyId);
        putValue(out, element);
        putProperty(out, element, "size", UIA_SizeOfSetPropertyId);
        putParent(out, element);
        fputs("}\n", out);
        fclose(out);
    }
    LeaveCriticalSection(&lock);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        InitializeCriticalSection(&lock);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI UiaClientsAreListening(void)
{
    return TRUE;
}

__declspec(dllexport) LRESULT WINAPI UiaReturnRawElementProvider(HWND window, WPARAM wParam,
                                                                 LPARAM lParam,
                                                                 IRawElementProviderSimple *element)
{
    (void)window;
    (void)wParam;
    logRaise(element, "root", (int)lParam, NULL);
    return 0;
}

__declspec(dllexport) HRESULT WINAPI UiaHostProviderFromHwnd(HWND window,
                                                            IRawElementProviderSimple **provider)
{
    (void)window;
    *provider = NULL;
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationEvent(IRawElementProviderSimple *element,
                                                            EVENTID id)
{
    logRaise(element, "event", id, NULL);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationPropertyChangedEvent(
        IRawElementProviderSimple *element, PROPERTYID id, VARIANT oldValue, VARIANT newValue)
{
    (void)oldValue;
    logRaise(element, "property", id, &newValue);
    return S_OK;
}

/* Windows before 10 1709 has no notifications: ZUN_UIA_BEFORE_1709 makes this one say so.
 * The id logged is kind * 10 + processing (Other = 4, ImportantMostRecent = 1 gives 41). */
__declspec(dllexport) HRESULT WINAPI UiaRaiseNotificationEvent(IRawElementProviderSimple *element,
                                                              int kind, int processing,
                                                              BSTR text, BSTR activity)
{
    (void)activity;
    if (GetEnvironmentVariableW(L"ZUN_UIA_BEFORE_1709", NULL, 0))
        return UIA_E_NOTSUPPORTED;
    VARIANT said;
    V_VT(&said) = VT_BSTR;
    V_BSTR(&said) = text;
    logRaise(element, "notification", kind * 10 + processing, &said);
    return S_OK;
}

/* The same DLL serves as the COM class of IAccPropServices (registered for the quiz's prefix
 * only), so that the names and descriptions the program gives its controls reach the log as
 * it gives them: {"raise":"annotate","hwnd":...,"property":"name"|"description","text":...}.
 * Wine's own oleacc keeps them but gives them to no reader. */
static HRESULT STDMETHODCALLTYPE propQuery(IAccPropServices *self, REFIID id, void **out)
{
    if (!IsEqualIID(id, &IID_IUnknown) && !IsEqualIID(id, &IID_IAccPropServices)) {
        *out = NULL;
        return E_NOINTERFACE;
    }
    *out = self;
    return S_OK;
}
static ULONG STDMETHODCALLTYPE propCount(IAccPropServices *self)
{
    (void)self;
    return 1; /* one static object */
}
static HRESULT STDMETHODCALLTYPE propStr(IAccPropServices *self, HWND window, DWORD object,
                                         DWORD child, MSAAPROPID property, LPCWSTR text)
{
    (void)self;
    (void)object;
    (void)child;
    WCHAR path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"ZUN_UIA_LOG", path, MAX_PATH))
        return S_OK;
    const char *name = IsEqualGUID(&property, &PROPID_ACC_NAME)          ? "name"
                       : IsEqualGUID(&property, &PROPID_ACC_DESCRIPTION) ? "description"
                                                                        : "other";
    EnterCriticalSection(&lock);
    FILE *out = _wfopen(path, L"ab");
    if (out) {
        fprintf(out, "{\"time\":0,\"raise\":\"annotate\",\"id\":0,\"hwnd\":%lu,\"property\":\"%s\","
                     "\"text\":",
                (unsigned long)(ULONG_PTR)window, name);
        putText(out, text);
        fputs("}\n", out);
        fclose(out);
    }
    LeaveCriticalSection(&lock);
    return S_OK;
}
/* Every other method of the interface: not used by the program, so not offered. */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define NOT_OFFERED(name, ...)                                                                 \
    static HRESULT STDMETHODCALLTYPE name(IAccPropServices *self, __VA_ARGS__)                 \
    {                                                                                          \
        (void)self;                                                                            \
        return E_NOTIMPL;                                                                      \
    }
NOT_OFFERED(setPropValue, const BYTE *a, DWORD b, MSAAPROPID c, VARIANT d)
NOT_OFFERED(setPropServer, const BYTE *a, DWORD b, const MSAAPROPID *c, int d,
            IAccPropServer *e, AnnoScope f)
NOT_OFFERED(clearProps, const BYTE *a, DWORD b, const MSAAPROPID *c, int d)
NOT_OFFERED(setHwndProp, HWND a, DWORD b, DWORD c, MSAAPROPID d, VARIANT e)
NOT_OFFERED(setHwndPropServer, HWND a, DWORD b, DWORD c, const MSAAPROPID *d, int e,
            IAccPropServer *f, AnnoScope g)
NOT_OFFERED(clearHwndProps, HWND a, DWORD b, DWORD c, const MSAAPROPID *d, int e)
NOT_OFFERED(composeHwnd, HWND a, DWORD b, DWORD c, BYTE **d, DWORD *e)
NOT_OFFERED(decomposeHwnd, const BYTE *a, DWORD b, HWND *c, DWORD *d, DWORD *e)
NOT_OFFERED(setHmenuProp, HMENU a, DWORD b, MSAAPROPID c, VARIANT d)
NOT_OFFERED(setHmenuPropStr, HMENU a, DWORD b, MSAAPROPID c, LPCWSTR d)
NOT_OFFERED(setHmenuPropServer, HMENU a, DWORD b, const MSAAPROPID *c, int d,
            IAccPropServer *e, AnnoScope f)
NOT_OFFERED(clearHmenuProps, HMENU a, DWORD b, const MSAAPROPID *c, int d)
NOT_OFFERED(composeHmenu, HMENU a, DWORD b, BYTE **c, DWORD *d)
NOT_OFFERED(decomposeHmenu, const BYTE *a, DWORD b, HMENU *c, DWORD *d)
#pragma GCC diagnostic pop

static IAccPropServicesVtbl propTable = {
        propQuery,      propCount,     propCount,        setPropValue,    setPropServer,
        clearProps,     setHwndProp,   propStr,          setHwndPropServer, clearHwndProps,
        composeHwnd,    decomposeHwnd, setHmenuProp,     setHmenuPropStr, setHmenuPropServer,
        clearHmenuProps, composeHmenu, decomposeHmenu};
static IAccPropServices propServices = {&propTable};

static HRESULT STDMETHODCALLTYPE factoryQuery(IClassFactory *self, REFIID id, void **out)
{
    if (!IsEqualIID(id, &IID_IUnknown) && !IsEqualIID(id, &IID_IClassFactory)) {
        *out = NULL;
        return E_NOINTERFACE;
    }
    *out = self;
    return S_OK;
}
static ULONG STDMETHODCALLTYPE factoryCount(IClassFactory *self)
{
    (void)self;
    return 1;
}
static HRESULT STDMETHODCALLTYPE factoryCreate(IClassFactory *self, IUnknown *outer, REFIID id,
                                               void **out)
{
    (void)self;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return propQuery(&propServices, id, out);
}
static HRESULT STDMETHODCALLTYPE factoryLock(IClassFactory *self, BOOL lock_)
{
    (void)self;
    (void)lock_;
    return S_OK;
}
static IClassFactoryVtbl factoryTable = {factoryQuery, factoryCount, factoryCount, factoryCreate,
                                         factoryLock};
static IClassFactory factory = {&factoryTable};

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID id, REFIID wanted, void **out)
{
    if (!IsEqualCLSID(id, &CLSID_AccPropServices))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factoryQuery(&factory, wanted, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow(void)
{
    return S_FALSE;
}
