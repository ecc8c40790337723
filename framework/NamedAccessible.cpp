#include "NamedAccessible.h"

#include "CWinApp.h"
#include "FindFunction.h"

#include <objbase.h>

#include <new>

namespace {

// The accessibility and automation libraries, looked up the first time a
// screen reader asks (most runs never need them) and kept loaded: the
// objects handed out live for as long as a reader holds them.
struct Accessibility {
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&::LresultFromObject) lresultFromObject;
    decltype(&::SysAllocString) sysAllocString;
    decltype(&::SysFreeString) sysFreeString;

    bool Loaded() const { return createStdAccessibleObject && lresultFromObject && sysAllocString && sysFreeString; }
};

const Accessibility& Libraries()
{
    static const Accessibility libraries = [] {
        // From the system folder only, as the common controls are.
        const HMODULE oleacc = CWinApp::LoadSystemLibrary(L"oleacc.dll");
        const HMODULE oleaut = CWinApp::LoadSystemLibrary(L"oleaut32.dll");
        const HMODULE ole = CWinApp::LoadSystemLibrary(L"ole32.dll");
        // COM hands an object to a reader in another process only from a
        // thread that has entered an apartment. This thread pumps messages
        // for as long as it lives, which a single-threaded apartment needs;
        // it stays in it until the process ends.
        if (const auto coInitializeEx = FindFunction<decltype(&::CoInitializeEx)>(ole, "CoInitializeEx"))
            coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        return Accessibility{
            FindFunction<decltype(&::CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject"),
            FindFunction<decltype(&::LresultFromObject)>(oleacc, "LresultFromObject"),
            FindFunction<decltype(&::SysAllocString)>(oleaut, "SysAllocString"),
            FindFunction<decltype(&::SysFreeString)>(oleaut, "SysFreeString"),
        };
    }();
    return libraries;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

}  // namespace

LRESULT NamedAccessible::Answer(HWND hWnd, WPARAM flags, LPCWSTR name)
{
    const Accessibility& ole = Libraries();
    if (!ole.Loaded())
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(ole.createStdAccessibleObject(hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    const BSTR copy = ole.sysAllocString(name);
    NamedAccessible* object = copy ? new (std::nothrow) NamedAccessible(hWnd, standard, copy) : nullptr;
    if (!object) {
        if (copy)
            ole.sysFreeString(copy);
        standard->Release();
        return 0;
    }
    // The reference the reader gets is LresultFromObject's own; ours goes.
    const LRESULT answer = ole.lresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(object));
    object->Release();
    // An error code would leave the reader with no object at all; the
    // standard one, nameless, is better than that.
    return answer > 0 ? answer : 0;
}

NamedAccessible::NamedAccessible(HWND hWnd, IAccessible* standard, BSTR name)
    : m_hWnd(hWnd), m_standard(standard), m_name(name)
{
}

NamedAccessible::~NamedAccessible()
{
    Libraries().sysFreeString(m_name);
    m_standard->Release();
}

HRESULT NamedAccessible::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
        *object = static_cast<IAccessible*>(this);
    else if (riid == __uuidof(IOleWindow))
        *object = static_cast<IOleWindow*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG NamedAccessible::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

ULONG NamedAccessible::Release()
{
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT NamedAccessible::get_accName(VARIANT child, BSTR* name)
{
    if (!IsSelf(child))
        return m_standard->get_accName(child, name);
    if (!name)
        return E_POINTER;
    *name = Libraries().sysAllocString(m_name);
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT NamedAccessible::GetWindow(HWND* hWnd)
{
    if (!hWnd)
        return E_POINTER;
    *hWnd = m_hWnd;
    return S_OK;
}

HRESULT NamedAccessible::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

// Everything else is the standard object's answer.
HRESULT NamedAccessible::GetTypeInfoCount(UINT* count) { return m_standard->GetTypeInfoCount(count); }
HRESULT NamedAccessible::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
{ return m_standard->GetTypeInfo(index, locale, info); }
HRESULT NamedAccessible::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids)
{ return m_standard->GetIDsOfNames(riid, names, count, locale, ids); }
HRESULT NamedAccessible::Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError)
{ return m_standard->Invoke(id, riid, locale, flags, params, result, exception, argError); }
HRESULT NamedAccessible::get_accParent(IDispatch** parent) { return m_standard->get_accParent(parent); }
HRESULT NamedAccessible::get_accChildCount(long* count) { return m_standard->get_accChildCount(count); }
HRESULT NamedAccessible::get_accChild(VARIANT child, IDispatch** object)
{ return m_standard->get_accChild(child, object); }
HRESULT NamedAccessible::get_accValue(VARIANT child, BSTR* value) { return m_standard->get_accValue(child, value); }
HRESULT NamedAccessible::get_accDescription(VARIANT child, BSTR* description)
{ return m_standard->get_accDescription(child, description); }
HRESULT NamedAccessible::get_accRole(VARIANT child, VARIANT* role) { return m_standard->get_accRole(child, role); }
HRESULT NamedAccessible::get_accState(VARIANT child, VARIANT* state) { return m_standard->get_accState(child, state); }
HRESULT NamedAccessible::get_accHelp(VARIANT child, BSTR* help) { return m_standard->get_accHelp(child, help); }
HRESULT NamedAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{ return m_standard->get_accHelpTopic(file, child, topic); }
HRESULT NamedAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{ return m_standard->get_accKeyboardShortcut(child, shortcut); }
HRESULT NamedAccessible::get_accFocus(VARIANT* focus) { return m_standard->get_accFocus(focus); }
HRESULT NamedAccessible::get_accSelection(VARIANT* selection) { return m_standard->get_accSelection(selection); }
HRESULT NamedAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{ return m_standard->get_accDefaultAction(child, action); }
HRESULT NamedAccessible::accSelect(long flags, VARIANT child) { return m_standard->accSelect(flags, child); }
HRESULT NamedAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{ return m_standard->accLocation(left, top, width, height, child); }
HRESULT NamedAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{ return m_standard->accNavigate(direction, start, end); }
HRESULT NamedAccessible::accHitTest(long left, long top, VARIANT* child)
{ return m_standard->accHitTest(left, top, child); }
HRESULT NamedAccessible::accDoDefaultAction(VARIANT child) { return m_standard->accDoDefaultAction(child); }
HRESULT NamedAccessible::put_accName(VARIANT child, BSTR name) { return m_standard->put_accName(child, name); }
HRESULT NamedAccessible::put_accValue(VARIANT child, BSTR value) { return m_standard->put_accValue(child, value); }
