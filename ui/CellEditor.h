#pragma once

#include <windows.h>

#include <string>
#include <vector>

// An edit box, or a drop-down list, laid over one cell of a table for the user to type or choose
// its value. It belongs to the dialog, whose Enter and Esc end it.
class CellEditor {
  public:
    CellEditor() = default;
    ~CellEditor() { Close(); }
    CellEditor(const CellEditor&) = delete;
    CellEditor& operator=(const CellEditor&) = delete;

    // Opens over `cell`, in the dialog's client coordinates, holding `text`. With `choices` it is
    // a drop-down list of them, `text` chosen (added last when it is none of them).
    void Open(HWND dialog, int id, RECT cell, HFONT font, const std::wstring& text,
              const std::vector<std::wstring>& choices);
    bool IsOpen() const { return window_ != nullptr; }
    HWND Handle() const { return window_; }
    std::wstring Text() const;
    void Close();

  private:
    HWND window_ = nullptr;
    bool list_ = false;
};
