#pragma once

#include <string>

#include "ui/Dialog.h"

// What a save would do, shown before anything is written: 保存 goes on, 取消 writes nothing.
class CSavePreviewDlg : public CDialog {
  public:
    CSavePreviewDlg(HWND owner, std::wstring preview);

  protected:
    bool OnInit() override;

  private:
    std::wstring preview_;
};
