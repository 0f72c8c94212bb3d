#include "ui/CampaignWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "campaign/FileReadFailure.h"
#include "platform/CodePage.h"
#include "platform/FileNameCase.h"
#include "platform/JournalLocation.h"
#include "res/resource.h"
#include "ui/BatchListDlg.h"
#include "ui/CampaignTexts.h"
#include "ui/DroppedFiles.h"
#include "ui/FileChooser.h"
#include "ui/MessageBox.h"
#include "ui/SavePreviewDlg.h"

namespace {

constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressInterval = 100;
constexpr int kProgressRange = 1000;
constexpr UINT_PTR kListSubclass = 1;

std::wstring Joined(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const std::wstring& text : texts)
        joined += (joined.empty() ? L"" : L"；") + text;
    return joined;
}

}  // namespace

CampaignServices CampaignServices::System() {
    CampaignServices services;
    services.showMessage = ShowMessageBox;
    services.chooseFolder = ChooseFolder;
    services.chooseFiles = ChooseRawFiles;
    services.chooseTable = ChooseTable;
    services.chooseCsvTarget = ChooseCsvTarget;
    services.confirmSave = [](HWND owner, const std::wstring& preview) {
        return CSavePreviewDlg(owner, preview).DoModal() == IDOK;
    };
    services.chooseBatch = [](HWND owner, const JournalIndex& index,
                              const std::optional<std::string>& proposed) {
        CBatchListDlg dialog(owner, index, proposed);
        return dialog.DoModal() == IDOK ? dialog.Chosen() : std::nullopt;
    };
    services.journalPath = DefaultJournalPath().value_or(L"");
    services.files = &SystemFileSystem();
    return services;
}

CCampaignWindow::CCampaignWindow(HWND owner, std::vector<std::wstring> paths,
                                 CampaignServices services)
    : CDialog(IDD_CAMPAIGN, owner),
      services_(std::move(services)),
      initialPaths_(std::move(paths)),
      codePage_(AnsiCodePage()) {
    readOptions_.codePage = codePage_;
    // A save compares each file with the header region its row was read with, and takes the
    // file's facts itself before it writes; asking the system for them on every read costs more
    // than the rest of the read under Wine.
    readOptions_.forSave = false;
    readOptions_.keepRegion = true;
    catalogue_.Load();
    sheet_ = std::make_unique<CampaignSheet>(catalogue_, codePage_);
}

CCampaignWindow::~CCampaignWindow() {
    worker_.Cancel();
    worker_.Finish();
}

bool CCampaignWindow::OnInit() {
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    keys_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CAMPAIGN_KEYS));
    AcceptDroppedFiles(Handle());

    table_ = std::make_unique<SheetTable>(Item(IDC_CAMPAIGN_LIST), *sheet_);
    table_->CreateColumns();
    SetWindowSubclass(Item(IDC_CAMPAIGN_LIST), ListProc, kListSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
    readQueue_ = std::make_unique<ReadQueue>(Handle(), WM_CAMPAIGN_ROWS);
    cellTip_.Create(Handle());
    SendItemMessage(IDC_CAMPAIGN_PROGRESS, PBM_SETRANGE32, 0, kProgressRange);

    RECT client;
    GetClientRect(Handle(), &client);
    initialClient_ = {client.right, client.bottom};
    const auto anchor = [this](int id, bool stretchWidth, bool stretchHeight, bool followRight,
                               bool followBottom) {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        anchored_.push_back({id, rect, stretchWidth, stretchHeight, followRight, followBottom});
    };
    anchor(IDC_CAMPAIGN_LIST, true, true, false, false);
    anchor(IDC_CAMPAIGN_STATUS, true, false, false, true);
    anchor(IDC_CAMPAIGN_PROGRESS, false, false, true, true);
    anchor(IDC_CAMPAIGN_CANCEL, false, false, true, true);

    ShowProgress();
    UpdateStatus();
    // Reading starts before the window shows, so that it never shows as an empty campaign.
    AddPaths(std::exchange(initialPaths_, {}));
    SetFocus(Item(IDC_CAMPAIGN_LIST));
    return false;
}

bool CCampaignWindow::TranslateKeys(MSG& message) {
    if (Handle() == nullptr)
        return false;
    const HWND focus = GetFocus();
    // Keys typed into a box are its own: Ctrl+C there copies its text, not the rows.
    const bool typing = editor_.IsOpen() || focus == Item(IDC_FIND_TEXT);
    if (!typing && keys_ != nullptr && TranslateAcceleratorW(Handle(), keys_, &message))
        return true;
    return IsDialogMessageW(Handle(), &message) != FALSE;
}

bool CCampaignWindow::OnCommand(int notifyCode, int itemId) {
    if (itemId == IDC_CELL_EDITOR) {
        if (notifyCode == EN_KILLFOCUS || notifyCode == CBN_KILLFOCUS)
            CommitEdit();
        return true;
    }
    if (itemId == IDC_FIND_TEXT)
        return false;
    // Buttons and menus send 0, accelerators 1.
    if (notifyCode != BN_CLICKED && notifyCode != 1)
        return false;
    return RunCommand(itemId);
}

bool CCampaignWindow::RunCommand(int command) {
    switch (command) {
        case IDC_OPEN_FOLDER:
            if (const std::optional<std::wstring> folder = services_.chooseFolder(Handle()))
                AddPaths({*folder});
            return true;
        case IDC_ADD_FILES: {
            std::vector<std::wstring> files = services_.chooseFiles(Handle());
            if (!files.empty())
                AddPaths(std::move(files));
            return true;
        }
        case IDC_SAVE_ALL:
            PlanSave();
            return true;
        case IDC_TAKE_BACK:
            ChooseBatchToTakeBack();
            return true;
        case IDC_CAMPAIGN_CANCEL:
            worker_.Cancel();
            return true;
        case IDC_PROBLEMS_ONLY:
            table_->ShowProblemsOnly(IsDlgButtonChecked(Handle(), IDC_PROBLEMS_ONLY) ==
                                     BST_CHECKED);
            UpdateStatus();
            return true;
        case ID_VIEW_PROBLEMS:
            CheckDlgButton(Handle(), IDC_PROBLEMS_ONLY,
                           table_->ProblemsOnly() ? BST_UNCHECKED : BST_CHECKED);
            return RunCommand(IDC_PROBLEMS_ONLY);
        case IDC_FIND_NEXT:
            FindNext();
            return true;
        case ID_FIND:
            SetFocus(Item(IDC_FIND_TEXT));
            SendItemMessage(IDC_FIND_TEXT, EM_SETSEL, 0, -1);
            return true;
        case ID_EXPORT_CSV:
            ExportCsv();
            return true;
        case ID_IMPORT_LOG:
            ImportLog();
            return true;
        case ID_CLOSE_CAMPAIGN:
            CloseWindow();
            return true;
        case ID_UNDO_EDIT:
        case ID_REDO_EDIT:
            UndoEdit(command == ID_REDO_EDIT);
            return true;
        case ID_EDIT_CELL:
            StartEdit();
            return true;
        case ID_COPY_CELLS:
            CopyCells();
            return true;
        case ID_PASTE_CELLS:
            PasteCells();
            return true;
        case ID_SELECT_ALL:
            table_->List().SelectAll();
            return true;
        case ID_READ_AGAIN:
            ReadSelectedAgain();
            return true;
        case ID_ACCEPT_LOG_CELL:
        case ID_ACCEPT_LOG_COLUMN:
        case ID_ACCEPT_LOG_ALL:
            AcceptLog(command == ID_ACCEPT_LOG_COLUMN, command == ID_ACCEPT_LOG_ALL);
            return true;
        default:
            return false;
    }
}

void CCampaignWindow::OnOK() {
    if (editor_.IsOpen()) {
        CommitEdit();
        SetFocus(Item(IDC_CAMPAIGN_LIST));
    } else if (GetFocus() == Item(IDC_FIND_TEXT)) {
        FindNext();
    } else if (GetFocus() == Item(IDC_CAMPAIGN_LIST)) {
        StartEdit();
    }
}

void CCampaignWindow::OnCancel() {
    if (editor_.IsOpen()) {
        CancelEdit();
        return;
    }
    CloseWindow();
}

bool CCampaignWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
        case WM_CAMPAIGN_ROWS:
            TakeReadFiles();
            return true;
        case WM_CAMPAIGN_JOB_DONE:
            EndJob(wParam != 0);
            return true;
        case WM_TIMER:
            if (wParam != kProgressTimer)
                return false;
            ShowProgress();
            if (job_ == Job::Reading)
                UpdateStatus();
            return true;
        case WM_DROPFILES:
            AddPaths(TakeDroppedFiles(reinterpret_cast<HDROP>(wParam)));
            return true;
        case WM_SIZE:
            Layout();
            return false;
        case WM_GETMINMAXINFO: {
            auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
            limits.ptMinTrackSize = {640, 320};
            return true;
        }
        case WM_CLOSE:
            CancelEdit();
            CloseWindow();
            return true;
        default:
            return false;
    }
}

bool CCampaignWindow::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_CAMPAIGN_LIST)
        return false;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            table_->GetDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
            return true;
        case NM_CUSTOMDRAW:
            result =
                table_->CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
            return true;
        case LVN_COLUMNCLICK:
            CommitEdit();
            table_->SortBy(
                static_cast<size_t>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem));
            UpdateStatus();
            return true;
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) != 0 &&
                ((change.uNewState ^ change.uOldState) & LVIS_FOCUSED) != 0) {
                statusOverride_.clear();
                UpdateStatus();
            }
            return true;
        }
        case NM_CLICK:
        case NM_DBLCLK: {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (click.iItem >= 0 && click.iSubItem >= 0) {
                table_->SetCurrentColumn(static_cast<size_t>(click.iSubItem));
                statusOverride_.clear();
                UpdateStatus();
                if (header.code == NM_DBLCLK)
                    StartEdit();
            }
            return true;
        }
        case LVN_BEGINSCROLL:
            CommitEdit();
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK CCampaignWindow::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) {
        try {
            reinterpret_cast<CCampaignWindow*>(self)->OnListMouse(message, lParam);
        } catch (...) {
            // The tip is only a help; the list goes on as ever.
        }
    }
    if (message == WM_KEYDOWN) {
        // An exception must never unwind through the window manager.
        try {
            if (reinterpret_cast<CCampaignWindow*>(self)->OnListKey(wParam))
                return 0;
        } catch (...) {
            return 0;
        }
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, ListProc, kListSubclass);
    return DefSubclassProc(window, message, wParam, lParam);
}

// Left and right move the current cell, as in a spreadsheet, instead of scrolling.
bool CCampaignWindow::OnListKey(WPARAM key) {
    if (key != VK_LEFT && key != VK_RIGHT)
        return false;
    table_->MoveCurrentColumn(key == VK_LEFT ? -1 : 1);
    statusOverride_.clear();
    UpdateStatus();
    return true;
}

// Reading.

void CCampaignWindow::AddPaths(std::vector<std::wstring> paths) {
    if (paths.empty())
        return;
    if (Busy()) {
        SetStatus(L"请等当前的操作完成后再打开文件");
        return;
    }
    StartJob(Job::Reading, 0, [this, paths = std::move(paths)](const std::atomic<bool>& cancelled) {
        ReadRawFiles(paths, catalogue_, readOptions_, *services_.files, cancelled, *readQueue_);
    });
}

void CCampaignWindow::TakeReadFiles() {
    std::deque<CheckedFile> files = readQueue_->Take();
    const bool readingEnded = job_ != Job::Reading;
    if (files.empty() && !(readingEnded && rowsUnchecked_))
        return;
    rowsUnchecked_ = rowsUnchecked_ || !files.empty();
    for (CheckedFile& file : files)
        AddRow(std::move(file));
    files = {};
    // Each row shows its own findings at once; what the files show together is found when the
    // campaign has doubled since it was last looked at, and at the end, so that a reading
    // checks the whole campaign a dozen times, not once a batch.
    if (readingEnded || sheet_->RowCount() >= 2 * rowsChecked_) {
        sheet_->Recheck();
        rowsChecked_ = sheet_->RowCount();
        rowsUnchecked_ = false;
    }
    table_->Refresh();
    // The first rows read are ready for the keyboard, with the status line on the first.
    if (!table_->FocusedRow() && !table_->View().empty())
        table_->SelectRows({table_->View().front()});
    ShowProgress();
    UpdateStatus();
}

void CCampaignWindow::AddRow(CheckedFile file) {
    std::wstring key = FileNameForComparison(file.path);
    if (rowsByPath_.contains(key))
        return;
    rowsByPath_.emplace(std::move(key), sheet_->Add(std::move(file)));
}

void CCampaignWindow::ReplaceRow(size_t row, CheckedFile file) {
    rowsByPath_.erase(FileNameForComparison(sheet_->Path(row)));
    rowsByPath_[FileNameForComparison(file.path)] = row;
    table_->SetNote(row, L"");
    sheet_->Replace(row, std::move(file));
}

void CCampaignWindow::ReadSelectedAgain() {
    if (RefuseWhileWriting())
        return;
    std::vector<std::pair<size_t, std::wstring>> rows;
    for (const size_t row : table_->SelectedRows())
        rows.emplace_back(row, sheet_->Path(row));
    if (rows.empty())
        return;
    StartJob(Job::Rereading, rows.size(), [this, rows](const std::atomic<bool>&) {
        for (const auto& [row, path] : rows) {
            reread_.push_back(
                {row, ReadCheckedFile(*services_.files, path, catalogue_, readOptions_)});
            ++jobDone_;
        }
    });
}

// Jobs.

bool CCampaignWindow::StartJob(Job job, size_t total, WorkerThread::Work work) {
    if (Busy())
        return false;
    job_ = job;
    jobDone_ = 0;
    jobTotal_ = total;
    reread_.clear();
    ShowWindow(Item(IDC_CAMPAIGN_CANCEL), job == Job::Reading ? SW_SHOW : SW_HIDE);
    SetTimer(Handle(), kProgressTimer, kProgressInterval, nullptr);
    worker_.Start(Handle(), WM_CAMPAIGN_JOB_DONE, std::move(work));
    ShowProgress();
    UpdateStatus();
    return true;
}

void CCampaignWindow::EndJob(bool threw) {
    worker_.Finish();
    KillTimer(Handle(), kProgressTimer);
    const Job job = std::exchange(job_, Job::None);
    ShowProgress();
    UpdateStatus();
    if (threw) {
        Message(L"操作意外中止，请重试。", MessageIcon::Error);
        UpdateStatus();
        return;
    }
    switch (job) {
        case Job::Reading:
            TakeReadFiles();
            break;
        case Job::Planning:
            ConfirmSave();
            break;
        case Job::Saving:
            EndSave();
            break;
        case Job::TakingBack:
            EndTakeBack();
            break;
        case Job::Rereading:
            for (RereadRow& reread : reread_)
                ReplaceRow(reread.row, std::move(reread.file));
            sheet_->Recheck();
            table_->Refresh();
            break;
        case Job::None:
            break;
    }
    UpdateStatus();
}

bool CCampaignWindow::RefuseWhileWriting() {
    if (job_ == Job::None || job_ == Job::Reading)
        return false;
    SetStatus(L"正在处理文件，请等它完成");
    return true;
}

void CCampaignWindow::ShowProgress() {
    const bool busy = job_ != Job::None;
    ShowWindow(Item(IDC_CAMPAIGN_PROGRESS), busy ? SW_SHOW : SW_HIDE);
    if (!busy)
        ShowWindow(Item(IDC_CAMPAIGN_CANCEL), SW_HIDE);
    if (job_ == Job::Reading)
        jobTotal_ = readQueue_->Total();
    const size_t done = job_ == Job::Reading ? readQueue_->Read() : jobDone_.load();
    const int position =
        jobTotal_ == 0 ? 0
                       : static_cast<int>(std::min(done, jobTotal_) * kProgressRange / jobTotal_);
    SendItemMessage(IDC_CAMPAIGN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position));
}

void CCampaignWindow::Layout() {
    RECT client;
    GetClientRect(Handle(), &client);
    if (anchored_.empty() || client.right == 0)
        return;
    const int dx = client.right - initialClient_.cx;
    const int dy = client.bottom - initialClient_.cy;
    for (const Anchored& control : anchored_) {
        RECT rect = control.rect;
        if (control.followRight)
            OffsetRect(&rect, dx, 0);
        if (control.followBottom)
            OffsetRect(&rect, 0, dy);
        if (control.stretchWidth)
            rect.right += dx;
        if (control.stretchHeight)
            rect.bottom += dy;
        MoveWindow(Item(control.id), rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, TRUE);
    }
    CommitEdit();
}

// The status line tells what is going on, else what check finds in the current cell.
void CCampaignWindow::UpdateStatus() {
    if (!statusOverride_.empty()) {
        SetItemText(IDC_CAMPAIGN_STATUS, statusOverride_);
        return;
    }
    std::wstring text;
    switch (job_) {
        case Job::Reading:
            text = L"正在读取 " + std::to_wstring(readQueue_->Read()) + L" / " +
                   std::to_wstring(readQueue_->Total()) + L" 个文件……";
            break;
        case Job::Planning:
            text = L"正在准备保存……";
            break;
        case Job::Saving:
            text = L"正在保存……";
            break;
        case Job::TakingBack:
            text = L"正在撤销批次……";
            break;
        case Job::Rereading:
            text = L"正在重新读取……";
            break;
        case Job::None:
            break;
    }
    const std::optional<size_t> row = table_->FocusedRow();
    if (text.empty() && row) {
        const size_t column = table_->CurrentColumn();
        const std::vector<std::wstring> reasons = CellReasons(*row, column);
        text = ColumnTitle(column) + L"：" + (reasons.empty() ? L"无问题" : Joined(reasons));
    }
    if (text.empty())
        text = std::to_wstring(sheet_->RowCount()) + L" 个文件";
    SetItemText(IDC_CAMPAIGN_STATUS, text);
}

std::vector<std::wstring> CCampaignWindow::CellReasons(size_t row, size_t column) const {
    std::vector<std::wstring> reasons;
    if (const std::wstring* note = table_->Note(row))
        reasons.push_back(*note);
    for (const Finding* finding : sheet_->CellFindings(row, column))
        reasons.push_back(FindingText(*finding));
    // A file that could not be read has no values: each of its cells gives the reason.
    const bool unreadable = sheet_->Failure(row) != nullptr;
    if (reasons.empty() &&
        (column == kFileNameColumn || column == FindingsColumn() || unreadable)) {
        for (const Finding& finding : sheet_->Findings(row))
            reasons.push_back(FindingText(finding));
    }
    if (const std::optional<size_t> field = FieldOfColumn(column)) {
        if (const std::optional<std::wstring> log = sheet_->LogText(row, *field))
            reasons.push_back(L"外业记录为“" + *log + L"”");
    }
    return reasons;
}

// The tip follows the mouse from cell to cell, with the reasons of the cell under it.
void CCampaignWindow::OnListMouse(UINT message, LPARAM lParam) {
    const HWND list = Item(IDC_CAMPAIGN_LIST);
    if (message == WM_MOUSELEAVE) {
        tippedCell_.reset();
        cellTip_.Show({}, L"");
        return;
    }
    TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE, list, 0};
    TrackMouseEvent(&leave);
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const std::optional<std::pair<int, int>> cell = table_->List().HitTest(point);
    if (cell == tippedCell_)
        return;
    tippedCell_ = cell;
    std::wstring text;
    if (cell && static_cast<size_t>(cell->first) < table_->View().size())
        text = Joined(CellReasons(table_->View()[static_cast<size_t>(cell->first)],
                                  static_cast<size_t>(cell->second)));
    ClientToScreen(list, &point);
    cellTip_.Show(point, text);
}

void CCampaignWindow::SetStatus(const std::wstring& text) {
    statusOverride_ = text;
    UpdateStatus();
}

bool CCampaignWindow::CloseWindow() {
    if (job_ != Job::None && job_ != Job::Reading) {
        SetStatus(L"正在处理文件，请等它完成后再关闭");
        return false;
    }
    if (sheet_->AnyEdits() && Message(L"有尚未保存的修改。是否放弃这些修改并关闭？",
                                      MessageIcon::Question, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return false;
    worker_.Cancel();
    worker_.Finish();
    End(IDCANCEL);
    return true;
}

BatchInfo CCampaignWindow::NewBatch(const std::string& command) const {
    return {NewBatchId(), JournalTime(), TZR_VERSION, command, std::nullopt};
}

int CCampaignWindow::Message(const std::wstring& text, MessageIcon icon, UINT buttons) {
    return services_.showMessage(Handle(), text, icon, buttons);
}

void RunCampaignWindow(HWND owner, std::vector<std::wstring> paths, CampaignServices services) {
    CCampaignWindow window(owner, std::move(paths), std::move(services));
    if (!window.CreateModeless())
        return;
    if (owner != nullptr)
        EnableWindow(owner, FALSE);
    ShowWindow(window.Handle(), SW_SHOW);
    MSG message;
    while (!window.HasEnded()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!window.TranslateKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}
