#include "screenreader.h"

#include <initguid.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <map>
#include <type_traits>

namespace {

// UI Automation's numbers, which MinGW's C++ headers lack or declare unusably.
constexpr LPARAM UiaRootObjectId = -25;
constexpr PROPERTYID NamePropertyId = 30005, ControlTypePropertyId = 30003;
constexpr int WindowControlTypeId = 50032;
constexpr HRESULT ElementNotAvailable = -2147220991; // 0x80040201
constexpr int NotificationKindOther = 4;             // from Windows 10 1709
constexpr int ProcessingImportantMostRecent = 1;

// UIAutomationCore.dll is found at run time: Windows has it from 7 on, and its
// notifications from 10 1709.
struct Uia
{
    LRESULT(WINAPI *returnProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple *) = nullptr;
    HRESULT(WINAPI *hostProvider)(HWND, IRawElementProviderSimple **) = nullptr;
    HRESULT(WINAPI *raiseNotification)(IRawElementProviderSimple *, int, int, BSTR, BSTR) = nullptr;
};

const Uia &uia()
{
    static const Uia functions = [] {
        Uia found;
        if (HMODULE dll = LoadLibraryW(L"UIAutomationCore.dll")) {
            const auto get = [dll](auto &function, const char *name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                        reinterpret_cast<void *>(GetProcAddress(dll, name)));
            };
            get(found.returnProvider, "UiaReturnRawElementProvider");
            get(found.hostProvider, "UiaHostProviderFromHwnd");
            get(found.raiseNotification, "UiaRaiseNotificationEvent");
        }
        return found;
    }();
    return functions;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor" // COM objects are released, not deleted

// The window's own element: it adds nothing to what Windows says of the window (the host
// provider's name, type and children come first) but gives notifications a source.
class WindowProvider : public IRawElementProviderSimple
{
public:
    explicit WindowProvider(HWND window)
        : m_window(window)
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **out) override
    {
        if (id != IID_IUnknown && id != IID_IRawElementProviderSimple) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IRawElementProviderSimple *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return ULONG(left);
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions *options) override
    {
        *options = ProviderOptions(ProviderOptions_ServerSideProvider
                                   | ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown **pattern) override
    {
        *pattern = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID id, VARIANT *value) override
    {
        VariantInit(value);
        if (id == NamePropertyId && m_window) {
            wchar_t caption[256] = {};
            GetWindowTextW(m_window, caption, 256);
            value->vt = VT_BSTR;
            value->bstrVal = SysAllocString(caption);
        } else if (id == ControlTypePropertyId) {
            value->vt = VT_I4;
            value->lVal = WindowControlTypeId;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple **host) override
    {
        *host = nullptr;
        if (!m_window || !uia().hostProvider)
            return m_window ? S_OK : ElementNotAvailable;
        return uia().hostProvider(m_window, host);
    }

    void disconnect() { m_window = nullptr; }

private:
    virtual ~WindowProvider() = default;

    HWND m_window;
    LONG m_references = 1;
};
#pragma GCC diagnostic pop

std::map<HWND, WindowProvider *> &providers()
{
    static std::map<HWND, WindowProvider *> byWindow;
    return byWindow;
}

WindowProvider *providerOf(HWND window)
{
    WindowProvider *&provider = providers()[window];
    if (!provider)
        provider = new WindowProvider(window);
    return provider;
}

} // namespace

namespace ScreenReader {

void name(HWND control, std::u16string_view name, std::u16string_view description)
{
    IAccPropServices *services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices,
                                nullptr,
                                CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices,
                                reinterpret_cast<void **>(&services))))
        return;
    const auto set = [&](const MSAAPROPID &property, std::u16string_view text) {
        if (text.empty())
            return;
        const std::wstring value(text.begin(), text.end());
        services->SetHwndPropStr(
                control, DWORD(OBJID_CLIENT), CHILDID_SELF, property, value.c_str());
    };
    set(PROPID_ACC_NAME, name);
    set(PROPID_ACC_DESCRIPTION, description);
    services->Release();
}

LRESULT answer(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != static_cast<LONG>(UiaRootObjectId) || !uia().returnProvider)
        return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
    return uia().returnProvider(window, wParam, lParam, providerOf(window));
}

void say(HWND window, const std::u16string &sentence)
{
    if (!uia().raiseNotification || sentence.empty())
        return;
    const std::wstring text(sentence.begin(), sentence.end());
    BSTR words = SysAllocString(text.c_str());
    BSTR activity = SysAllocString(L"zun-mitologia");
    uia().raiseNotification(providerOf(window),
                            NotificationKindOther,
                            ProcessingImportantMostRecent,
                            words,
                            activity);
    SysFreeString(activity);
    SysFreeString(words);
}

void forget(HWND window)
{
    if (uia().returnProvider) // UI Automation lets go of what it holds of the window
        uia().returnProvider(window, 0, 0, nullptr);
    const auto it = providers().find(window);
    if (it == providers().end())
        return;
    it->second->disconnect();
    it->second->Release();
    providers().erase(it);
}

} // namespace ScreenReader
