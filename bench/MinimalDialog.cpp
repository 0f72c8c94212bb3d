// The smallest Win32 program that shows a dialog: the reference for start-up time.
#include <windows.h>

#include <cstring>

namespace {

INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    alignas(DWORD) unsigned char templateBytes[64] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(templateBytes);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    dialog->cx = 120;
    dialog->cy = 60;
    // No menu, default class, empty title follow the header as three zero words.
    return static_cast<int>(DialogBoxIndirectParamW(instance, dialog, nullptr, MinimalProc, 0));
}
