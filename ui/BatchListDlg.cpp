#include "ui/BatchListDlg.h"

#include "res/resource.h"
#include "ui/CampaignTexts.h"

CBatchListDlg::CBatchListDlg(HWND owner, const JournalIndex& index,
                             std::optional<std::string> proposed)
    : CDialog(IDD_BATCH_LIST, owner), proposed_(std::move(proposed)) {
    for (auto batch = index.batches.rbegin(); batch != index.batches.rend(); ++batch) {
        ids_.push_back(batch->info.id);
        lines_.push_back(BatchLine(*batch));
    }
}

bool CBatchListDlg::OnInit() {
    int selected = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        SendItemMessage(IDC_BATCH_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(lines_[i].c_str()));
        if (proposed_ && ids_[i] == *proposed_)
            selected = static_cast<int>(i);
    }
    SendItemMessage(IDC_BATCH_LIST, LB_SETHORIZONTALEXTENT, 1200);
    SendItemMessage(IDC_BATCH_LIST, LB_SETCURSEL, static_cast<WPARAM>(selected));
    SetFocus(Item(IDC_BATCH_LIST));
    return false;
}

bool CBatchListDlg::OnCommand(int notifyCode, int itemId) {
    if (itemId != IDC_BATCH_LIST || notifyCode != LBN_DBLCLK)
        return false;
    OnOK();
    return true;
}

void CBatchListDlg::OnOK() {
    const LRESULT selected = SendItemMessage(IDC_BATCH_LIST, LB_GETCURSEL);
    if (selected == LB_ERR || static_cast<size_t>(selected) >= ids_.size())
        return;
    chosen_ = ids_[static_cast<size_t>(selected)];
    End(IDOK);
}
