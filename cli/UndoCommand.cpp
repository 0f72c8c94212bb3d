#include "cli/UndoCommand.h"

#include <array>

#include "campaign/UndoBatch.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "cli/ToolOptions.h"
#include "platform/Utf8.h"

namespace {

// The status as JSON gives it, for programs: the same in every language.
constexpr std::array<std::string_view, 5> kStatusNames = {"restored", "unchanged", "changed-since",
                                                          "missing", "failed"};

std::string ExplainRestoreFailure(const RewriteOutcome& written, Language language) {
    const ToolTexts& texts = TextsIn(language);
    // Taking back renames a file to its old name, which the save calls its new one.
    const std::string why = written.refusal == RewriteRefusal::TargetExists
                                ? std::string(texts.oldNameTaken)
                                : RewriteReason(written, language);
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            return why + std::string(texts.nothingWritten) + std::string(texts.undoTriesAgain);
        case OnDisk::WrittenNotRenamed:
            return Fill(texts.notRenamedBack, {why});
        case OnDisk::SavedOldKept:
            return std::string(texts.movedMeanwhile);
        case OnDisk::Torn:
            return Fill(texts.tornRestore, {why});
        case OnDisk::Saved:
            return Fill(texts.restoredBut, {why});
    }
    return why;
}

std::string ProblemText(const UndoFileResult& file, Language language) {
    const ToolTexts& texts = TextsIn(language);
    switch (file.problem) {
        case UndoProblem::None:
            return {};
        case UndoProblem::JournalLineUnreadable:
            return std::string(texts.journalLineUnreadable);
        case UndoProblem::Unreadable:
            return Fill(texts.unreadableNow,
                        {file.readError.empty() ? "" : ": " + FirstLineOf(file.readError)});
        case UndoProblem::ChangedSince:
            return std::string(texts.changedSinceBatch);
        case UndoProblem::Missing:
            return std::string(texts.noLongerExists);
        case UndoProblem::Restore:
            return ExplainRestoreFailure(file.written, language);
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

void List(const BatchSummary& batch, bool json, const ToolTexts& texts, std::ostream& out) {
    if (json) {
        out << JsonBatch(batch);
        return;
    }
    const size_t files = batch.FileCount();
    const size_t left = batch.FilesToTakeBack();
    out << batch.info.id << "  " << batch.info.time << "  "
        << CountOf(files, texts.oneFile, texts.files) << "  ";
    if (batch.TakenBack())
        out << (batch.FilesLeftAlone() > 0 ? texts.takenBackButChanged : texts.takenBack) << "  ";
    else if (left < files && !batch.info.undoes)
        out << Fill(texts.toTakeBack, {std::to_string(left)}) << "  ";
    out << batch.info.command << "\n";
}

void ReportUnreadableLines(const std::wstring& path, const JournalIndex& index,
                           const ToolTexts& texts, std::ostream& err) {
    if (index.unreadableCount == 0)
        return;
    std::string lines;
    for (const size_t line : index.unreadableLines)
        lines += (lines.empty() ? "" : std::string(texts.listSeparator)) + std::to_string(line);
    if (index.unreadableCount > index.unreadableLines.size())
        lines += texts.moreLines;
    err << "tzrhdr: " << ToUtf8(path) << ": "
        << Fill(index.unreadableCount == 1 ? texts.notAJournalLine : texts.notJournalLines,
                {std::to_string(index.unreadableCount), lines})
        << "\n";
}

class UndoReport : public UndoBatchListener {
  public:
    UndoReport(const UndoRequest& request, std::ostream& out, std::ostream& err)
        : request_(request), texts_(TextsIn(request.language)), out_(out), err_(err) {}

    void JournalIncomplete(const FileStatus& status) override {
        err_ << "tzrhdr: " << Fill(texts_.journalIncomplete, {JournalProblemText(status.error)})
             << "\n";
    }

    void Done(const UndoFileResult& outcome) override {
        const std::string name = ToUtf8(outcome.file);
        const std::string error = ProblemText(outcome, request_.language);
        if (!error.empty())
            err_ << "tzrhdr: " << name << ": " << error << "\n";
        if (request_.json) {
            out_ << JsonOutcome(outcome, error, request_.dryRun);
            return;
        }
        if (!error.empty())
            return;
        out_ << name << ": "
             << (outcome.status == UndoStatus::Unchanged ? texts_.alreadyAsBefore
                 : request_.dryRun                       ? texts_.wouldBeRestored
                                                         : texts_.restored);
        if (!outcome.newPath.empty())
            out_ << Fill(texts_.renamedBackTo, {ToUtf8(outcome.newPath)});
        out_ << "\n";
    }

  private:
    const UndoRequest& request_;
    const ToolTexts& texts_;
    std::ostream& out_;
    std::ostream& err_;
};

int TakeBack(const UndoRequest& request, UndoJournal& journal, const BatchSummary& batch,
             std::ostream& out, std::ostream& err) {
    const ToolTexts& texts = TextsIn(request.language);
    UndoReport report(request, out, err);
    const UndoBatchResult result = journal.TakeBack(batch, request.journal.batch, request.dryRun,
                                                    report, request.batch.has_value());
    if (result.journalRefused) {
        err << "tzrhdr: "
            << Fill(texts.cannotWriteJournal, {JournalProblemText(result.journalError)}) << "\n";
        return 1;
    }
    const auto& tally = result.tally;
    (request.json ? err : out) << Fill(texts.undoSummary,
                                       {batch.info.id,
                                        CountOf(result.fileCount, texts.oneFile, texts.files),
                                        request.dryRun ? texts.dryRunNote : "",
                                        std::to_string(tally[0]), std::to_string(tally[1]),
                                        std::to_string(tally[2]), std::to_string(tally[3]),
                                        std::to_string(tally[4])})
                               << "\n";
    // A damaged journal may have lost files of this batch: that is no complete undo.
    return tally[2] + tally[3] + tally[4] > 0 || journal.Index().unreadableCount > 0 ||
                   result.journalIncomplete
               ? 1
               : 0;
}

}  // namespace

int RunUndo(const UndoRequest& request, std::ostream& out, std::ostream& err) {
    const ToolTexts& texts = TextsIn(request.language);
    const std::wstring& path = request.journal.path;
    if (path.empty())
        throw UsageError{std::string(texts.noJournalFolderGiveOption), false};
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
            err << "tzrhdr: " << ToUtf8(path) << ": " << texts.noBatchLeft << "\n";
            return 1;
        case JournalAccess::InUse:
            err << "tzrhdr: " << ToUtf8(path) << ": " << texts.journalInUse << "\n";
            return 1;
        case JournalAccess::Unreadable:
            throw UsageError{ToUtf8(path) + ": " + FirstLineOf(error), false};
        case JournalAccess::NotAJournal:
            throw UsageError{Fill(texts.notAJournal, {ToUtf8(path)}), false};
    }
    ReportUnreadableLines(path, journal->Index(), texts, err);
    if (request.list) {
        for (const BatchSummary& batch : journal->Index().batches)
            List(batch, request.json, texts, out);
        return 0;
    }
    const BatchSummary* batch = journal->Target(request.batch);
    if (batch == nullptr && request.batch)
        throw UsageError{Fill(texts.noSuchBatch, {ToUtf8(path), *request.batch}), false};
    if (batch == nullptr) {
        err << "tzrhdr: " << ToUtf8(path) << ": " << texts.noBatchLeft << "\n";
        return 1;
    }
    return TakeBack(request, *journal, *batch, out, err);
}
