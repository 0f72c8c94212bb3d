#include "cli/UndoCommand.h"

#include <array>

#include "campaign/UndoBatch.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "cli/ToolOptions.h"
#include "platform/Utf8.h"

namespace {

constexpr std::array<std::string_view, 5> kStatusNames = {"restored", "unchanged", "changed-since",
                                                          "missing", "failed"};

std::string ExplainRestoreFailure(const RewriteOutcome& written) {
    // Taking back renames a file to its old name, which the save calls its new one.
    if (written.refusal == RewriteRefusal::TargetExists)
        return "another file has its old name; nothing written, tzrhdr undo tries it again";
    std::string why = written.refusal != RewriteRefusal::None
                          ? RefusalReason(written.refusal, written.error, Language::English)
                          : FirstLineOf(written.error);
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            if (!why.ends_with("; nothing written"))
                why += "; nothing written";
            return why + ", tzrhdr undo tries it again";
        case OnDisk::WrittenNotRenamed:
            return "old header written, not renamed back: " + why + "; tzrhdr undo renames it";
        case OnDisk::SavedOldKept:
            return "another program wrote to it or moved it meanwhile; both files are kept";
        case OnDisk::Torn:
            return "the write stopped half-way (" + why + "); tzrhdr undo tries it again";
        case OnDisk::Saved:
            return "restored, but " + why;
    }
    return why;
}

std::string ProblemText(const UndoFileResult& file) {
    switch (file.problem) {
        case UndoProblem::None:
            return {};
        case UndoProblem::JournalLineUnreadable:
            return "the journal's line for this file does not read; left alone";
        case UndoProblem::Unreadable:
            return "cannot be read now; tzrhdr undo tries it again";
        case UndoProblem::ChangedSince:
            return "changed since the batch; left alone";
        case UndoProblem::Missing:
            return "no longer exists; left alone";
        case UndoProblem::Restore:
            return ExplainRestoreFailure(file.written);
    }
    return {};
}

std::string JsonOutcome(const UndoFileResult& outcome, const std::string& error, bool dryRun) {
    return "{\"file\": " + JsonString(outcome.file) + ", \"status\": \"" +
           std::string(kStatusNames[static_cast<size_t>(outcome.status)]) +
           "\", \"newFile\": " + (outcome.newPath.empty() ? "null" : JsonString(outcome.newPath)) +
           ", \"error\": " + (error.empty() ? "null" : JsonString(error)) +
           (dryRun ? ", \"dryRun\": true}\n" : "}\n");
}

std::string JsonBatch(const BatchSummary& batch) {
    const BatchInfo& info = batch.info;
    return "{\"batch\": " + JsonString(info.id) + ", \"time\": " + JsonString(info.time) +
           ", \"files\": " + std::to_string(batch.FileCount()) +
           ", \"command\": " + JsonString(info.command) +
           ", \"undoes\": " + (info.undoes ? JsonString(*info.undoes) : "null") +
           ", \"takenBack\": " + JsonBool(batch.TakenBack()) +
           ", \"filesToTakeBack\": " + std::to_string(batch.FilesToTakeBack()) + "}\n";
}

void List(const BatchSummary& batch, bool json, std::ostream& out) {
    if (json) {
        out << JsonBatch(batch);
        return;
    }
    const size_t files = batch.FileCount();
    const size_t left = batch.FilesToTakeBack();
    out << batch.info.id << "  " << batch.info.time << "  " << files
        << (files == 1 ? " file  " : " files  ");
    if (batch.TakenBack())
        out << (batch.FilesLeftAlone() > 0 ? "taken back but for files changed since  "
                                           : "taken back  ");
    else if (left < files && !batch.info.undoes)
        out << left << " to take back  ";
    out << batch.info.command << "\n";
}

void ReportUnreadableLines(const std::wstring& path, const JournalIndex& index, std::ostream& err) {
    if (index.unreadableCount == 0)
        return;
    err << "tzrhdr: " << ToUtf8(path) << ": " << index.unreadableCount
        << (index.unreadableCount == 1 ? " line is" : " lines are")
        << " not journal lines and passed over (line";
    for (size_t i = 0; i < index.unreadableLines.size(); ++i)
        err << (i == 0 ? " " : ", ") << index.unreadableLines[i];
    err << (index.unreadableCount > index.unreadableLines.size() ? ", ..." : "")
        << "); files they name are not taken back\n";
}

class UndoReport : public UndoBatchListener {
  public:
    UndoReport(const UndoRequest& request, std::ostream& out, std::ostream& err)
        : request_(request), out_(out), err_(err) {}

    void JournalIncomplete(const FileStatus& status) override {
        err_ << "tzrhdr: the journal did not take what the last writes left on disk: "
             << JournalProblemText(status.error) << "\n";
    }

    void Done(const UndoFileResult& outcome) override {
        const std::string name = ToUtf8(outcome.file);
        const std::string error = ProblemText(outcome);
        if (!error.empty())
            err_ << "tzrhdr: " << name << ": " << error << "\n";
        if (request_.json) {
            out_ << JsonOutcome(outcome, error, request_.dryRun);
            return;
        }
        if (!error.empty())
            return;
        out_ << name << ": "
             << (outcome.status == UndoStatus::Unchanged ? "already as before the batch"
                 : request_.dryRun                       ? "would be restored"
                                                         : "restored");
        if (!outcome.newPath.empty())
            out_ << ", renamed back to " << ToUtf8(outcome.newPath);
        out_ << "\n";
    }

  private:
    const UndoRequest& request_;
    std::ostream& out_;
    std::ostream& err_;
};

int TakeBack(const UndoRequest& request, UndoJournal& journal, const BatchSummary& batch,
             std::ostream& out, std::ostream& err) {
    UndoReport report(request, out, err);
    const UndoBatchResult result = journal.TakeBack(batch, request.journal.batch, request.dryRun,
                                                    report, request.batch.has_value());
    if (result.journalRefused) {
        err << "tzrhdr: cannot write the journal: " << JournalProblemText(result.journalError)
            << "; no file was written\n";
        return 1;
    }
    const auto& tally = result.tally;
    (request.json ? err : out) << "batch " << batch.info.id << ", " << result.fileCount
                               << (result.fileCount == 1 ? " file" : " files")
                               << (request.dryRun ? " (dry run, nothing written)" : "") << ": "
                               << tally[0] << " restored, " << tally[1] << " unchanged, "
                               << tally[2] << " changed since, " << tally[3] << " missing, "
                               << tally[4] << " failed\n";
    // A damaged journal may have lost files of this batch: that is no complete undo.
    return tally[2] + tally[3] + tally[4] > 0 || journal.Index().unreadableCount > 0 ||
                   result.journalIncomplete
               ? 1
               : 0;
}

}  // namespace

int RunUndo(const UndoRequest& request, std::ostream& out, std::ostream& err) {
    const std::wstring& path = request.journal.path;
    if (path.empty())
        throw UsageError{"the system names no folder for the journal; give --journal", false};
    JournalAccess access;
    std::wstring error;
    const std::unique_ptr<UndoJournal> journal = UndoJournal::Open(
        *request.fileSystem, path, !request.list && !request.dryRun, access, error);
    switch (access) {
        case JournalAccess::Opened:
            break;
        case JournalAccess::Missing:
            if (request.list)
                return 0;
            err << "tzrhdr: " << ToUtf8(path) << ": no batch left to take back\n";
            return 1;
        case JournalAccess::InUse:
            err << "tzrhdr: " << ToUtf8(path)
                << ": another tzrhdr is taking back a batch of this journal; run undo again "
                   "when it has finished\n";
            return 1;
        case JournalAccess::Unreadable:
            throw UsageError{ToUtf8(path) + ": " + FirstLineOf(error), false};
    }
    ReportUnreadableLines(path, journal->Index(), err);
    if (request.list) {
        for (const BatchSummary& batch : journal->Index().batches)
            List(batch, request.json, out);
        return 0;
    }
    const BatchSummary* batch = journal->Target(request.batch);
    if (batch == nullptr && request.batch)
        throw UsageError{"the journal " + ToUtf8(path) + " holds no batch " + *request.batch,
                         false};
    if (batch == nullptr) {
        err << "tzrhdr: " << ToUtf8(path) << ": no batch left to take back\n";
        return 1;
    }
    return TakeBack(request, *journal, *batch, out, err);
}
