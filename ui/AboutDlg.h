#pragma once

#include "ui/Dialog.h"

// The About box: program name, version and the maker's lines, closed with OK, Enter or Escape.
class CAboutDlg : public CDialog {
  public:
    explicit CAboutDlg(HWND parent);
};
