#include "ui/SavePreviewDlg.h"

#include <utility>

#include "res/resource.h"

CSavePreviewDlg::CSavePreviewDlg(HWND owner, std::wstring preview)
    : CDialog(IDD_SAVE_PREVIEW, owner), preview_(std::move(preview)) {}

bool CSavePreviewDlg::OnInit() {
    SetItemText(IDC_PREVIEW_TEXT, preview_);
    // The focus on 保存, not in the text, so that Enter saves and the text is not all selected.
    SetFocus(Item(IDOK));
    return false;
}
