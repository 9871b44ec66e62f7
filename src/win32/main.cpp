#include "win32/Toolkit.h"
#include "win32/frmExtend.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    toolkit::useCommonControls();
    frmExtend window;
    window.form().Form_Load();
    ShowWindow(window.window(), show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (toolkit::handleDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
