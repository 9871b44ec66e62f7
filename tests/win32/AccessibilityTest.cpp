// The names the Windows main window gives its lists, as the system's
// annotation service receives them. A stand-in takes the calls: Wine's
// service answers E_NOTIMPL and keeps nothing to read back.

#include <gtest/gtest.h>
#include <oleacc.h>

#include <map>

#include "win32/Accessibility.h"
#include "win32/ControlIds.h"

namespace {

// clang-format off
#define NOT_USED(method, ...) HRESULT WINAPI method(__VA_ARGS__) override { return E_NOTIMPL; }
// clang-format on

// The annotation service and its class factory in one, writing down what
// it is told of each window.
struct Service final : IAccPropServices, IClassFactory {
    std::map<HWND, std::wstring> told;

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IClassFactory) *object = static_cast<IClassFactory*>(this);
        if (iid == IID_IAccPropServices || iid == IID_IUnknown)
            *object = static_cast<IAccPropServices*>(this);
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 1; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** object) override {
        return QueryInterface(iid, object);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property,
                                  LPCWSTR text) override {
        if (object != DWORD(OBJID_CLIENT) || child != CHILDID_SELF) return E_INVALIDARG;
        told[hwnd] +=
            (property == PROPID_ACC_NAME ? L"name " : L"description ") + std::wstring(text) + L"; ";
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND hwnd, DWORD, DWORD, const MSAAPROPID* properties,
                                  int count) override {
        for (int i = 0; i < count; ++i)
            if (properties[i] == PROPID_ACC_NAME || properties[i] == PROPID_ACC_DESCRIPTION)
                told[hwnd] += L"cleared; ";
        return S_OK;
    }
    NOT_USED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
    NOT_USED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
    NOT_USED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
    NOT_USED(SetHwndProp, HWND, DWORD, DWORD, MSAAPROPID, VARIANT)
    NOT_USED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
             AnnoScope)
    NOT_USED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
    NOT_USED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
    NOT_USED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
    NOT_USED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
    NOT_USED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
    NOT_USED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
    NOT_USED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
    NOT_USED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
};

TEST(Accessibility, TheListsAreNamedUntilTheWindowIsDestroyed) {
    const std::map<std::string, int> idOf = {{"drvConvert", win32ids::drvConvert},
                                             {"dirConvert", win32ids::dirConvert},
                                             {"filConvert", win32ids::filConvert}};
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Service service;
    DWORD registration = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration),
              S_OK);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                  nullptr, nullptr);
    for (int id = win32ids::Label1; id <= win32ids::lblVersion; ++id)
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, window, HMENU(INT_PTR(id)),
                        nullptr, nullptr);
    accessibility::nameControls(window, frmExtendDesign::AccessibleNames);
    std::map<HWND, std::wstring> expected;
    for (const AccessibleName& entry : frmExtendDesign::AccessibleNames) {
        std::wstring& told = expected[GetDlgItem(window, idOf.at(entry.control))];
        told = L"name " + toolkit::widen(entry.name) + L"; ";
        if (*entry.description) told += L"description " + toolkit::widen(entry.description) + L"; ";
    }
    EXPECT_EQ(service.told, expected);
    DestroyWindow(window);  // and only then, each property cleared
    for (auto& [control, told] : expected) told += L"cleared; cleared; ";
    EXPECT_EQ(service.told, expected);
    CoRevokeClassObject(registration);
    CoUninitialize();
}

}  // namespace
