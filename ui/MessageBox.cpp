#include "ui/MessageBox.h"

#include "res/resource.h"

namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return MB_ICONERROR;
        case MessageIcon::Warning:
            return MB_ICONWARNING;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
    }
    return MB_ICONWARNING;
}

}  // namespace

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

int ShowMessageBox(HWND owner, const std::wstring& text, MessageIcon icon, UINT buttons) {
    return MessageBoxW(owner, text.c_str(), LoadResourceString(IDS_APP_TITLE).c_str(),
                       buttons | IconStyle(icon));
}
