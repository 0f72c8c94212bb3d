#include "ui/CellEditor.h"

#include <commctrl.h>

#include "ui/Dialog.h"

namespace {

// Room for the list below a drop-down's cell.
constexpr int kDropDownHeight = 240;

HWND CreateChild(HWND dialog, const wchar_t* className, DWORD style, RECT rect, int id) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | style, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void FillList(HWND list, const std::wstring& text, const std::vector<std::wstring>& choices) {
    LRESULT chosen = CB_ERR;
    for (const std::wstring& choice : choices) {
        const LRESULT index =
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
        if (choice == text && chosen == CB_ERR)
            chosen = index;
    }
    if (chosen == CB_ERR && !text.empty())
        chosen = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

}  // namespace

void CellEditor::Open(HWND dialog, int id, RECT cell, HFONT font, const std::wstring& text,
                      const std::vector<std::wstring>& choices) {
    Close();
    list_ = !choices.empty();
    if (list_) {
        cell.bottom += kDropDownHeight;
        window_ =
            CreateChild(dialog, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, cell, id);
    } else {
        window_ = CreateChild(dialog, WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, cell, id);
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (list_) {
        FillList(window_, text, choices);
    } else {
        SetWindowTextW(window_, text.c_str());
        SendMessageW(window_, EM_SETSEL, 0, -1);
    }
    SetFocus(window_);
}

std::wstring CellEditor::Text() const {
    if (!list_)
        return WindowText(window_);
    const LRESULT index = SendMessageW(window_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(SendMessageW(window_, CB_GETLBTEXTLEN, index, 0)) + 1,
                      L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(window_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void CellEditor::Close() {
    // Destroying the box takes its focus away, which would otherwise close it a second time.
    const HWND window = window_;
    window_ = nullptr;
    if (window != nullptr)
        DestroyWindow(window);
}
