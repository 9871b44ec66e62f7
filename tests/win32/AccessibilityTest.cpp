// The names the Windows main window gives its lists. Wine's annotation
// service answers E_NOTIMPL and keeps nothing to read back, so the test
// reads what the service is to be given.

#include <gtest/gtest.h>

#include "win32/Accessibility.h"
#include "win32/ControlIds.h"

namespace {

TEST(Accessibility, EachListIsNamedAndTheFileListDescribed) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                  nullptr, nullptr);
    for (int id = win32ids::Label1; id <= win32ids::lblVersion; ++id)
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, window, HMENU(INT_PTR(id)),
                        nullptr, nullptr);
    auto told = [&](int id, const MSAAPROPID& property, const wchar_t* text) {
        return accessibility::Annotation{GetDlgItem(window, id), property, text};
    };
    const std::vector<accessibility::Annotation> expected = {
        told(win32ids::drvConvert, PROPID_ACC_NAME, L"Drive"),
        told(win32ids::dirConvert, PROPID_ACC_NAME, L"Folder"),
        told(win32ids::filConvert, PROPID_ACC_NAME, L"Trend files"),
        told(win32ids::filConvert, PROPID_ACC_DESCRIPTION,
             L"Hold the Control key to select multiple trends")};
    EXPECT_EQ(accessibility::annotationsOf(window, frmExtendDesign::AccessibleNames), expected);
    DestroyWindow(window);
}

}  // namespace
