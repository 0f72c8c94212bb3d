#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

// A tip beside the mouse that tells why the cell under it is marked; it follows the mouse from
// cell to cell, which a list view's own tips, one per row, cannot.
class CellTip {
  public:
    CellTip() = default;
    ~CellTip();
    CellTip(const CellTip&) = delete;
    CellTip& operator=(const CellTip&) = delete;

    void Create(HWND owner);
    // Shows the text at the point of the screen; an empty text hides the tip.
    void Show(POINT screen, const std::wstring& text);

  private:
    TTTOOLINFOW Tool();

    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
    std::wstring text_;
};
