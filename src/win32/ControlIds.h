#pragma once

// The window classes and control identifiers of the Windows front end; the
// end-to-end test finds the windows and drives the controls by them.

namespace win32ids {

inline constexpr const wchar_t* ExtendClass = L"Kelvane.frmExtend";
inline constexpr const wchar_t* ConvertingClass = L"Kelvane.frmConverting";
inline constexpr const wchar_t* HelpClass = L"Kelvane.frmHelp";

enum : int {
    Label1 = 100,
    Label2,
    Label3,
    txtNoFiles,
    fraTrendLocation,
    drvConvert,
    dirConvert,
    filConvert,
    lblMultiSelect,
    cmdOK,
    cmdClose,
    cmdHelp,
    lblFileName,
    lblVersion,
};

}  // namespace win32ids
