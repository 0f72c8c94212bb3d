#include "ui/Dialog.h"

namespace {

// The few messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace

CDialog::~CDialog() {
    if (!modal_ && window_ != nullptr)
        DestroyWindow(window_);
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::CreateModeless() {
    modal_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                              DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (modal_) {
        EndDialog(window_, result);
        return;
    }
    DestroyWindow(window_);
    window_ = nullptr;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring CDialog::ItemText(int id) const {
    return WindowText(Item(id));
}

void CDialog::SetItemText(int id, const std::wstring& text) {
    SetDlgItemTextW(window_, id, text.c_str());
}

LRESULT CDialog::SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendDlgItemMessageW(window_, id, message, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->window_ = window;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr)
        return FALSE;
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // An exception must never unwind through the window manager.
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (OnCommand(code, id))
                return TRUE;
            if (id == IDOK && code == BN_CLICKED) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, DWLP_USER, 0);
            return FALSE;
        default: {
            LRESULT result = 0;
            if (!OnMessage(message, wParam, lParam, result))
                return FALSE;
            if (ReturnsResultDirectly(message))
                return static_cast<INT_PTR>(result);
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
}
