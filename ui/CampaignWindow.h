#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/CampaignSheet.h"
#include "campaign/Journal.h"
#include "platform/FileSystem.h"
#include "ui/BatchJobs.h"
#include "ui/CampaignReader.h"
#include "ui/CellEditor.h"
#include "ui/CellTip.h"
#include "ui/Dialog.h"
#include "ui/MessageIcon.h"
#include "ui/SheetTable.h"
#include "ui/WorkerThread.h"

// What the campaign window asks of the system; tests stand in for the user's side of it.
struct CampaignServices {
    std::function<int(HWND owner, const std::wstring& text, MessageIcon icon, UINT buttons)>
        showMessage;
    std::function<std::optional<std::wstring>(HWND owner)> chooseFolder;
    std::function<std::vector<std::wstring>(HWND owner)> chooseFiles;
    std::function<std::optional<std::wstring>(HWND owner)> chooseTable;
    std::function<std::optional<std::wstring>(HWND owner)> chooseCsvTarget;
    // Shows what a save would do; true to go on and save.
    std::function<bool(HWND owner, const std::wstring& preview)> confirmSave;
    // The batch to take back, `proposed` offered first; nothing to take none back.
    std::function<std::optional<std::string>(HWND owner, const JournalIndex& index,
                                             const std::optional<std::string>& proposed)>
        chooseBatch;
    // Where saves are recorded for undo, tzrhdr's journal; empty when the system names no place.
    std::wstring journalPath;
    FileSystem* files = nullptr;

    static CampaignServices System();
};

// The campaign window: every raw file of a campaign as a row of a table, with what check finds
// on its cells, edited in place and saved together as one batch that tzrhdr undo takes back.
// Files are read and saved on a worker thread, so that the window keeps answering.
class CCampaignWindow : public CDialog {
  public:
    CCampaignWindow(HWND owner, std::vector<std::wstring> paths, CampaignServices services);
    ~CCampaignWindow() override;

    // Takes the window's keys out of a message before it is dispatched: its accelerators, then
    // the dialog's own keys. True when the message was taken.
    bool TranslateKeys(MSG& message);

    const CampaignSheet& Sheet() const { return *sheet_; }
    // Whether files are being read, saved or taken back.
    bool Busy() const { return worker_.Busy(); }

  protected:
    bool OnInit() override;
    bool OnCommand(int notifyCode, int itemId) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    enum class Job { None, Reading, Planning, Saving, TakingBack, Rereading };
    // Files read are ready; the job has ended, wParam 1 when it threw.
    static constexpr UINT WM_CAMPAIGN_ROWS = WM_APP + 1;
    static constexpr UINT WM_CAMPAIGN_JOB_DONE = WM_APP + 2;

    bool RunCommand(int command);
    bool OnNotify(const NMHDR& header, LRESULT& result);
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    bool OnListKey(WPARAM key);
    void OnListMouse(UINT message, LPARAM lParam);
    // Why the cell is marked: its file's note, what check finds, the field log's value.
    std::vector<std::wstring> CellReasons(size_t row, size_t column) const;

    // Reading.
    void AddPaths(std::vector<std::wstring> paths);
    void TakeReadFiles();
    void AddRow(CheckedFile file);
    void ReplaceRow(size_t row, CheckedFile file);
    void ReadSelectedAgain();

    // Editing.
    void StartEdit();
    void CommitEdit();
    void CancelEdit();
    void ApplyEdits(const std::vector<CellEdit>& edits);
    void UndoEdit(bool redo);
    void CopyCells();
    void PasteCells();
    void FindNext();

    // Batches.
    void PlanSave();
    void ConfirmSave();
    void EndSave();
    void ChooseBatchToTakeBack();
    void EndTakeBack();
    void ExportCsv();
    void ImportLog();
    void AcceptLog(bool wholeColumn, bool everything);

    bool StartJob(Job job, size_t total, WorkerThread::Work work);
    void EndJob(bool threw);
    // Refused with a word in the status line while files are saved or taken back.
    bool RefuseWhileWriting();
    void ShowProgress();
    void Layout();
    void UpdateStatus();
    void SetStatus(const std::wstring& text);
    bool CloseWindow();
    BatchInfo NewBatch(const std::string& command) const;
    int Message(const std::wstring& text, MessageIcon icon, UINT buttons = MB_OK);

    CampaignServices services_;
    std::vector<std::wstring> initialPaths_;
    AntennaCatalogue catalogue_;
    unsigned codePage_;
    HeaderReadOptions readOptions_;
    std::unique_ptr<CampaignSheet> sheet_;
    std::unique_ptr<SheetTable> table_;
    std::unique_ptr<ReadQueue> readQueue_;
    HACCEL keys_ = nullptr;
    CellEditor editor_;
    CellTip cellTip_;
    std::optional<std::pair<int, int>> tippedCell_;
    std::vector<size_t> editRows_;
    size_t editField_ = 0;
    // A row by its file's path, in FileNameForComparison form, so that no file is read twice.
    std::map<std::wstring, size_t> rowsByPath_;
    // The rows when the campaign's findings across files were last found, and whether rows
    // came since.
    size_t rowsChecked_ = 0;
    bool rowsUnchecked_ = false;
    std::wstring statusOverride_;

    // Each control's rectangle when the window opened, to follow the window's size.
    struct Anchored {
        int id;
        RECT rect;
        bool stretchWidth, stretchHeight, followRight, followBottom;
    };
    std::vector<Anchored> anchored_;
    SIZE initialClient_ = {};

    // What a job works on and leaves; the window's thread touches them only while no job runs.
    Job job_ = Job::None;
    std::atomic<size_t> jobDone_ = 0;
    size_t jobTotal_ = 0;
    SetBatchRequest request_;
    std::vector<size_t> requestRows_;
    SavedBatch saved_;
    std::string takeBackId_;
    TakenBackBatch takenBack_;
    std::vector<RereadRow> reread_;
    // Last: destroyed first, so that the work has ended before anything it uses goes.
    WorkerThread worker_;
};

// Runs the window until it is closed, its owner disabled meanwhile.
void RunCampaignWindow(HWND owner, std::vector<std::wstring> paths, CampaignServices services);
