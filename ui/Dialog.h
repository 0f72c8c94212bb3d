#pragma once

#include <windows.h>

#include <string>

// The whole text of a window or control.
std::wstring WindowText(HWND window);

// A dialog from a resource template. The dialog procedure routes messages to the virtual
// handlers and keeps every exception inside the callback.
class CDialog {
  public:
    CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until End; returns End's result, or -1 when it could not be created.
    INT_PTR DoModal();
    // Creates the dialog without a loop of its own, for hosts that pump messages themselves.
    bool CreateModeless();

    HWND Handle() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    // The result End gave, once the dialog has ended.
    INT_PTR Result() const { return result_; }
    bool HasEnded() const { return ended_; }

    void End(INT_PTR result);

  protected:
    // Returns true to let the system give the focus to the first tab stop.
    virtual bool OnInit() { return true; }
    // Returns true when the command was handled.
    virtual bool OnCommand(int notifyCode, int itemId) {
        (void)notifyCode;
        (void)itemId;
        return false;
    }
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // Any other message; returns true and sets `result` when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }

    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text);
    LRESULT SendItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND window_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
};
