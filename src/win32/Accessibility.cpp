#include "win32/Accessibility.h"

#include <commctrl.h>

#include <string_view>
#include <vector>

#include "win32/ControlIds.h"

namespace {

namespace ids = win32ids;

int idOf(std::string_view control) {
    // clang-format off
    static constexpr std::pair<std::string_view, int> known[] = {
        {"txtNoFiles", ids::txtNoFiles}, {"drvConvert", ids::drvConvert},
        {"dirConvert", ids::dirConvert}, {"filConvert", ids::filConvert},
        {"cmdOK", ids::cmdOK}, {"cmdClose", ids::cmdClose}, {"cmdHelp", ids::cmdHelp},
        {"lblFileName", ids::lblFileName}};
    // clang-format on
    for (const auto& [name, id] : known)
        if (name == control) return id;
    return 0;
}

// What a named window keeps until it is destroyed: the service that holds
// the names, and the controls it named.
struct Annotated {
    IAccPropServices* services = nullptr;
    bool comStarted = false;
    std::vector<HWND> controls;
};

LRESULT CALLBACK clearOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    if (message == WM_DESTROY) {  // the controls are still there
        auto* annotation = reinterpret_cast<Annotated*>(data);
        const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
        for (HWND control : annotation->controls)
            annotation->services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties,
                                                 int(std::size(properties)));
        annotation->services->Release();
        if (annotation->comStarted) CoUninitialize();
        RemoveWindowSubclass(window, clearOnDestroy, 0);
        delete annotation;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

namespace accessibility {

std::vector<Annotation> annotationsOf(HWND window, std::span<const AccessibleName> names) {
    std::vector<Annotation> annotations;
    for (const AccessibleName& entry : names) {
        const int id = idOf(entry.control);
        HWND control = id ? GetDlgItem(window, id) : nullptr;
        if (!control) continue;
        annotations.push_back({control, PROPID_ACC_NAME, toolkit::widen(entry.name)});
        if (*entry.description)
            annotations.push_back(
                {control, PROPID_ACC_DESCRIPTION, toolkit::widen(entry.description)});
    }
    return annotations;
}

void nameControls(HWND window, std::span<const AccessibleName> names) {
    auto* annotation = new Annotated;
    annotation->comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices,
                                reinterpret_cast<void**>(&annotation->services)))) {
        if (annotation->comStarted) CoUninitialize();
        delete annotation;
        return;  // no screen reader could ask for the names either
    }
    for (const Annotation& each : annotationsOf(window, names)) {
        annotation->services->SetHwndPropStr(each.control, OBJID_CLIENT, CHILDID_SELF,
                                             each.property, each.text.c_str());
        annotation->controls.push_back(each.control);
    }
    SetWindowSubclass(window, clearOnDestroy, 0, DWORD_PTR(annotation));
}

}  // namespace accessibility
