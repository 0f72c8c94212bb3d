#pragma once

#include <optional>
#include <string>
#include <vector>

#include "campaign/Journal.h"
#include "ui/Dialog.h"

// The journal's batches, newest first, for the user to choose the one to take back.
class CBatchListDlg : public CDialog {
  public:
    // `proposed` is chosen when the list opens: the batch an undo takes by default.
    CBatchListDlg(HWND owner, const JournalIndex& index, std::optional<std::string> proposed);

    // The batch chosen, once the dialog ended with IDOK.
    const std::optional<std::string>& Chosen() const { return chosen_; }

  protected:
    bool OnInit() override;
    bool OnCommand(int notifyCode, int itemId) override;
    void OnOK() override;

  private:
    // Batch ids in the list's order.
    std::vector<std::string> ids_;
    std::vector<std::wstring> lines_;
    std::optional<std::string> proposed_;
    std::optional<std::string> chosen_;
};
