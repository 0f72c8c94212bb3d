// Files saved and taken back as batches on the worker thread, and the table exported.
#include "ui/CampaignWindow.h"

#include <utility>

#include "campaign/Csv.h"
#include "campaign/RecordCsv.h"
#include "campaign/TableEncoding.h"
#include "campaign/UndoBatch.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "ui/CampaignTexts.h"

namespace {

// The journal is held by whoever writes it: a save or an undo, of tzrhdr or of another window.
const wchar_t* const kJournalInUse =
    L"另一个程序正在使用此日志（保存或撤销批次）；请等它完成后再试。";

const wchar_t* const kChangedOnDisk = L"文件在读取后已被其他程序修改，未保存；按 F5 重新读取";

// A message box names this many files at most, so that it fits on a small screen; the rows name
// them all.
constexpr size_t kFilesNamedInAMessage = 10;

// The summary, then the files that went wrong, as many as a message box can hold.
std::wstring SummaryWithProblems(const std::wstring& summary,
                                 const std::vector<std::wstring>& problems) {
    std::wstring text = summary;
    for (size_t i = 0; i < problems.size() && i < kFilesNamedInAMessage; ++i)
        text += (i == 0 ? L"\r\n\r\n" : L"") + problems[i];
    if (problems.size() > kFilesNamedInAMessage)
        text += L"……另有 " + std::to_wstring(problems.size() - kFilesNamedInAMessage) + L" 个文件";
    return text;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return CloseHandle(file) && wrote && written == bytes.size();
}

}  // namespace

void CCampaignWindow::PlanSave() {
    CommitEdit();
    if (RefuseWhileWriting())
        return;
    if (Busy()) {
        SetStatus(L"请等文件读取完成后再保存");
        return;
    }
    if (!sheet_->AnyEdits()) {
        Message(L"没有需要保存的修改。", MessageIcon::Information);
        return;
    }
    request_ = sheet_->SaveRequest(requestRows_);
    request_.fileSystem = services_.files;
    request_.dryRun = true;
    // The save reads every file again with its facts and refuses what the preview cannot tell.
    request_.dryRunAsCheck = true;
    request_.journal.reset();
    StartJob(Job::Planning, request_.files.size(), [this](const std::atomic<bool>&) {
        saved_ = SaveBatch(request_, requestRows_, catalogue_, readOptions_, jobDone_);
    });
}

void CCampaignWindow::ConfirmSave() {
    std::wstring preview;
    for (size_t i = 0; i < saved_.files.size(); ++i)
        preview += SetFileText(request_.files[i], saved_.files[i], true);
    preview += L"\r\n" + SetSummaryText(saved_.result, true);
    if (!services_.confirmSave(Handle(), preview)) {
        SetStatus(L"未保存");
        return;
    }
    request_.dryRun = false;
    request_.journal = JournalTarget{services_.journalPath,
                                     NewBatch("TZR Data Manager.exe 批量编辑：保存 " +
                                              std::to_string(request_.files.size()) + " 个文件")};
    StartJob(Job::Saving, request_.files.size(), [this](const std::atomic<bool>&) {
        saved_ = SaveBatch(request_, requestRows_, catalogue_, readOptions_, jobDone_);
    });
}

void CCampaignWindow::EndSave() {
    const SetBatchResult& result = saved_.result;
    if (result.journalRefusal != JournalRefusal::None) {
        Message(JournalRefusalText(result.journalRefusal, result.journalError), MessageIcon::Error);
        return;
    }
    for (RereadRow& reread : saved_.reread)
        ReplaceRow(reread.row, std::move(reread.file));
    std::vector<std::wstring> problems;
    for (size_t i = 0; i < saved_.files.size() && i < requestRows_.size(); ++i) {
        const SetFileResult& file = saved_.files[i];
        if (file.problem == SetProblem::None)
            continue;
        const bool changed = file.problem == SetProblem::ChangedSinceRead ||
                             file.problem == SetProblem::ChangedWhilePlanned;
        table_->SetNote(requestRows_[i], changed ? kChangedOnDisk : SaveProblemText(file));
        problems.push_back(SetFileText(request_.files[i], file, false));
    }
    if (result.journalIncomplete)
        problems.push_back(
            L"日志未能记下最后几次写入后磁盘上的状态；撤销时仍能按内容找到这些文件\r\n");
    sheet_->Recheck();
    table_->Refresh();
    UpdateStatus();
    Message(SummaryWithProblems(SetSummaryText(result, false), problems),
            problems.empty() ? MessageIcon::Information : MessageIcon::Warning);
}

void CCampaignWindow::ChooseBatchToTakeBack() {
    CommitEdit();
    if (Busy()) {
        SetStatus(L"请等当前的操作完成后再撤销批次");
        return;
    }
    if (services_.journalPath.empty()) {
        Message(L"系统没有为日志指定文件夹，没有可撤销的批次。", MessageIcon::Warning);
        return;
    }
    JournalAccess access = JournalAccess::Opened;
    std::wstring error;
    std::optional<std::string> chosen;
    {
        const std::unique_ptr<UndoJournal> journal =
            UndoJournal::Open(*services_.files, services_.journalPath, false, access, error);
        if (access == JournalAccess::InUse) {
            Message(kJournalInUse, MessageIcon::Warning);
            return;
        }
        if (access == JournalAccess::Unreadable) {
            Message(L"无法读取日志：" + error, MessageIcon::Error);
            return;
        }
        if (access == JournalAccess::NotAJournal) {
            Message(L"日志文件不是 tzrhdr 日志：" + services_.journalPath, MessageIcon::Error);
            return;
        }
        if (!journal || journal->Index().batches.empty()) {
            Message(L"没有可撤销的批次。", MessageIcon::Information);
            return;
        }
        const BatchSummary* proposed = journal->Target(std::nullopt);
        chosen = services_.chooseBatch(
            Handle(), journal->Index(),
            proposed != nullptr ? std::optional(proposed->info.id) : std::nullopt);
    }
    if (!chosen)
        return;
    // As closing the window does: the files taken back are read again, and their edits go.
    if (sheet_->AnyEdits() &&
        Message(L"有尚未保存的修改。撤销批次会放弃批次中文件的修改，是否继续撤销？",
                MessageIcon::Question, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return;
    takeBackId_ = *chosen;
    StartJob(Job::TakingBack, 0,
             [this, undo = NewBatch("TZR Data Manager.exe 批量编辑：撤销批次 " + *chosen),
              rows = rowsByPath_](const std::atomic<bool>&) {
                 takenBack_ = TakeBackBatch(*services_.files, services_.journalPath, takeBackId_,
                                            undo, rows, catalogue_, readOptions_, jobDone_);
             });
}

void CCampaignWindow::EndTakeBack() {
    if (takenBack_.access == JournalAccess::InUse) {
        Message(kJournalInUse, MessageIcon::Warning);
        return;
    }
    if (takenBack_.access != JournalAccess::Opened || !takenBack_.result) {
        Message(L"日志中没有批次 " + FromUtf8(takeBackId_) + L"。" + takenBack_.error,
                MessageIcon::Error);
        return;
    }
    const UndoBatchResult& result = *takenBack_.result;
    if (result.journalRefused) {
        Message(L"无法写入日志：" + result.journalError + L"；未写入任何文件", MessageIcon::Error);
        return;
    }
    for (RereadRow& reread : takenBack_.reread)
        ReplaceRow(reread.row, std::move(reread.file));
    std::vector<std::wstring> problems;
    for (const UndoFileResult& file : takenBack_.files) {
        const std::wstring problem = UndoProblemText(file);
        if (!problem.empty())
            problems.push_back(file.file + L"：" + problem + L"\r\n");
    }
    sheet_->Recheck();
    table_->Refresh();
    UpdateStatus();
    Message(SummaryWithProblems(UndoSummaryText(takeBackId_, result), problems),
            problems.empty() ? MessageIcon::Information : MessageIcon::Warning);
}

// The table as `tzrhdr show --csv` writes it, in the order the window shows the rows.
void CCampaignWindow::ExportCsv() {
    CommitEdit();
    const std::optional<std::wstring> path = services_.chooseCsvTarget(Handle());
    if (!path)
        return;
    std::string bytes(TableFileStart(kUtf8CodePage));
    bytes += TableFileText(CsvLine(RecordCsvColumns()), kUtf8CodePage);
    for (const size_t row : table_->View()) {
        if (const std::optional<std::vector<std::string>> record = sheet_->CsvRecord(row))
            bytes += TableFileText(CsvLine(*record), kUtf8CodePage);
    }
    if (!WriteWholeFile(*path, bytes))
        Message(L"无法写入文件：\n" + *path, MessageIcon::Error);
    else
        SetStatus(L"已导出：" + *path);
}
