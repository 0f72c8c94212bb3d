#include "cli/UndoCommand.h"

#include <array>

#include "campaign/SaveFiles.h"
#include "campaign/TakeBack.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "cli/ToolOptions.h"
#include "platform/Utf8.h"

namespace {

// Files taken back between two flushes of the journal.
constexpr size_t kGroupSize = 64;

enum class Status { Restored, Unchanged, ChangedSince, Missing, Failed };

constexpr std::array<std::string_view, 5> kStatusNames = {"restored", "unchanged", "changed-since",
                                                          "missing", "failed"};

struct FileOutcome {
    Status status = Status::Unchanged;
    // Where the file is now, and the name it gets back; empty when it keeps its name.
    std::wstring file;
    std::wstring newPath;
    std::string error;
};

std::string JsonOutcome(const FileOutcome& outcome, bool dryRun) {
    return "{\"file\": " + JsonString(outcome.file) + ", \"status\": \"" +
           std::string(kStatusNames[static_cast<size_t>(outcome.status)]) +
           "\", \"newFile\": " + (outcome.newPath.empty() ? "null" : JsonString(outcome.newPath)) +
           ", \"error\": " + (outcome.error.empty() ? "null" : JsonString(outcome.error)) +
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

std::string ExplainRestoreFailure(const RewriteOutcome& written) {
    std::string why = written.refusal != RewriteRefusal::None
                          ? RefusalReason(written.refusal, written.error, Language::English)
                          : FirstLineOf(written.error);
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            return why + "; nothing written, tzrhdr undo tries it again";
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

class UndoRun {
  public:
    UndoRun(const UndoRequest& request, std::ostream& out, std::ostream& err)
        : request_(request), files_(*request.fileSystem), out_(out), err_(err) {}

    int Run() {
        const std::wstring& path = request_.journal.path;
        if (path.empty())
            throw UsageError{"the system names no folder for the journal; give --journal", false};
        if (!files_.Exists(path)) {
            if (request_.list)
                return 0;
            err_ << "tzrhdr: " << ToUtf8(path) << ": no batch left to take back\n";
            return 1;
        }
        if (!OpenJournal())
            return 1;
        if (request_.list) {
            for (const BatchSummary& batch : index_.batches)
                List(batch);
            return 0;
        }
        const BatchSummary* batch = Target();
        if (batch == nullptr) {
            err_ << "tzrhdr: " << ToUtf8(path) << ": no batch left to take back\n";
            return 1;
        }
        return TakeBack(*batch);
    }

  private:
    // Two undos of one journal at once would each take the other's files for changed ones: an
    // undo that writes holds the journal to itself.
    bool OpenJournal() {
        const std::wstring& path = request_.journal.path;
        const bool writing = !request_.list && !request_.dryRun;
        FileStatus status;
        journal_ = files_.Open(path, writing ? OpenMode::Rewrite : OpenMode::ReadShared, status);
        if (!journal_ && status.fault == FileFault::InUse) {
            err_ << "tzrhdr: " << ToUtf8(path)
                 << ": another tzrhdr is taking back a batch of this journal; run undo again "
                    "when it has finished\n";
            return false;
        }
        if (journal_)
            status = ReadJournalIndex(*journal_, index_);
        if (!journal_ || !status)
            throw UsageError{ToUtf8(path) + ": " + FirstLineOf(status.error), false};
        if (index_.unreadableCount > 0) {
            err_ << "tzrhdr: " << ToUtf8(path) << ": " << index_.unreadableCount
                 << (index_.unreadableCount == 1 ? " line is" : " lines are")
                 << " not journal lines and passed over (line";
            for (size_t i = 0; i < index_.unreadableLines.size(); ++i)
                err_ << (i == 0 ? " " : ", ") << index_.unreadableLines[i];
            err_ << (index_.unreadableCount > index_.unreadableLines.size() ? ", ..." : "")
                 << "); files they name are not taken back\n";
        }
        return true;
    }

    void List(const BatchSummary& batch) {
        if (request_.json) {
            out_ << JsonBatch(batch);
            return;
        }
        const size_t files = batch.FileCount();
        const size_t left = batch.FilesToTakeBack();
        out_ << batch.info.id << "  " << batch.info.time << "  " << files
             << (files == 1 ? " file  " : " files  ");
        if (batch.TakenBack())
            out_ << (batch.FilesLeftAlone() > 0 ? "taken back but for files changed since  "
                                                : "taken back  ");
        else if (left < files && !batch.info.undoes)
            out_ << left << " to take back  ";
        out_ << batch.info.command << "\n";
    }

    // The batch named, else the newest batch of edits with a file still to take back.
    const BatchSummary* Target() const {
        const std::vector<BatchSummary>& batches = index_.batches;
        for (size_t i = batches.size(); i-- > 0;) {
            if (request_.batch ? batches[i].info.id == *request_.batch
                               : !batches[i].info.undoes && batches[i].FilesToTakeBack() > 0)
                return &batches[i];
        }
        if (request_.batch)
            throw UsageError{"the journal " + ToUtf8(request_.journal.path) + " holds no batch " +
                                 *request_.batch,
                             false};
        return nullptr;
    }

    int TakeBack(const BatchSummary& batch) {
        if (!request_.dryRun) {
            BatchInfo info = request_.journal.batch;
            info.undoes = batch.info.id;
            FileStatus status;
            writer_ = JournalWriter::Over(*journal_, info, status);
            if (!writer_) {
                err_ << "tzrhdr: cannot write the journal: " << JournalProblemText(status.error)
                     << "; no file was written\n";
                return 1;
            }
        }
        std::array<size_t, 5> tally{};
        std::vector<int> pending;
        for (size_t number = batch.states.size(); number-- > 1;) {
            const FileState state = batch.states[number];
            if (state == FileState::Written || state == FileState::Unknown)
                pending.push_back(static_cast<int>(number));
        }
        for (size_t start = 0; start < pending.size(); start += kGroupSize) {
            const size_t end = std::min(pending.size(), start + kGroupSize);
            for (const FileOutcome& outcome : TakeBackGroup(batch, pending, start, end)) {
                Report(outcome);
                ++tally[static_cast<size_t>(outcome.status)];
            }
        }
        (request_.json ? err_ : out_)
            << "batch " << batch.info.id << ", " << pending.size()
            << (pending.size() == 1 ? " file" : " files")
            << (request_.dryRun ? " (dry run, nothing written)" : "") << ": " << tally[0]
            << " restored, " << tally[1] << " unchanged, " << tally[2] << " changed since, "
            << tally[3] << " missing, " << tally[4] << " failed\n";
        // A damaged journal may have lost files of this batch: that is no complete undo.
        return tally[2] + tally[3] + tally[4] > 0 || index_.unreadableCount > 0 ||
                       journalIncomplete_
                   ? 1
                   : 0;
    }

    std::vector<FileOutcome> TakeBackGroup(const BatchSummary& batch,
                                           const std::vector<int>& pending, size_t start,
                                           size_t end) {
        std::vector<FileOutcome> outcomes;
        std::vector<FileSave> saves;
        std::vector<size_t> saved;
        std::vector<TakeBackPlan> leftovers;
        std::vector<size_t> leftoverAt;
        for (size_t i = start; i < end; ++i) {
            const int number = pending[i];
            const std::optional<JournalFile> file =
                ReadJournalFile(*journal_, batch.intentOffsets[static_cast<size_t>(number)]);
            FileOutcome outcome;
            if (!file) {
                outcome.status = Status::Failed;
                outcome.error = "the journal's line for this file does not read; left alone";
                outcomes.push_back(outcome);
                continue;
            }
            const TakeBackPlan plan = PlanTakeBack(files_, *file);
            outcome.file = plan.from;
            if (plan.action == TakeBackAction::Unreadable) {
                outcome.status = Status::Failed;
                outcome.error = "cannot be read now; tzrhdr undo tries it again";
                outcomes.push_back(outcome);
                continue;
            }
            if (plan.action != TakeBackAction::Restore &&
                plan.action != TakeBackAction::RemoveLeftover) {
                outcome.status = plan.action == TakeBackAction::AsBefore       ? Status::Unchanged
                                 : plan.action == TakeBackAction::ChangedSince ? Status::ChangedSince
                                                                               : Status::Missing;
                if (outcome.status == Status::ChangedSince)
                    outcome.error = "changed since the batch; left alone";
                if (outcome.status == Status::Missing)
                    outcome.error = "no longer exists; left alone";
                RecordFinding(*file, plan);
                outcomes.push_back(outcome);
                continue;
            }
            outcome.status = Status::Restored;
            if (file->oldPath != plan.from)
                outcome.newPath = file->oldPath;
            outcomes.push_back(outcome);
            if (request_.dryRun)
                continue;
            if (plan.action == TakeBackAction::RemoveLeftover) {
                leftovers.push_back(plan);
                leftoverAt.push_back(outcomes.size() - 1);
                continue;
            }
            saves.push_back({plan.restore, ++journalled_, file->number});
            saved.push_back(outcomes.size() - 1);
        }
        if (request_.dryRun)
            return outcomes;
        std::vector<RewriteOutcome> written = SaveGroup(saves);
        for (const TakeBackPlan& leftover : leftovers)
            written.push_back(RemoveLeftover(leftover));
        saved.insert(saved.end(), leftoverAt.begin(), leftoverAt.end());
        for (size_t k = 0; k < saved.size(); ++k) {
            if (written[k].Succeeded())
                continue;
            FileOutcome& outcome = outcomes[saved[k]];
            outcome.status = Status::Failed;
            outcome.newPath.clear();
            outcome.error = ExplainRestoreFailure(written[k]);
        }
        return outcomes;
    }

    std::vector<RewriteOutcome> SaveGroup(const std::vector<FileSave>& saves) {
        if (saves.empty())
            return {};
        const SavedGroup group = SaveFiles(files_, saves, writer_.get());
        if (!group.journalAfter)
            JournalIncomplete(group.journalAfter);
        return group.outcomes;
    }

    // An undo's finding for a file it had nothing to write to, so that the next undo goes on
    // with the files still to take back.
    void RecordFinding(const JournalFile& file, const TakeBackPlan& plan) {
        if (!writer_)
            return;
        const int number = ++journalled_;
        const JournalOutcome outcome = plan.action == TakeBackAction::AsBefore ? JournalOutcome::AsBefore
                                       : plan.action == TakeBackAction::ChangedSince
                                           ? JournalOutcome::ChangedSince
                                           : JournalOutcome::Missing;
        writer_->Intent({number, file.identity, file.size, plan.from, plan.from, {}, {}, file.number});
        writer_->Done(number, outcome, plan.from, file.identity, {});
        if (FileStatus status = writer_->Commit(); !status)
            JournalIncomplete(status);
    }

    // A second copy that a stopped save or undo left under the batch's new name, once the old
    // name holds the file as it was before the batch.
    RewriteOutcome RemoveLeftover(const TakeBackPlan& plan) {
        const int number = ++journalled_;
        const JournalFile& file = plan.file;
        writer_->Intent({number, file.identity, file.size, plan.from, file.oldPath,
                         file.newHeader, file.oldHeader, file.number});
        RewriteOutcome outcome{RewriteRefusal::None, {}, plan.from, {}, OnDisk::Unchanged};
        if (FileStatus status = writer_->Commit(); !status) {
            outcome.error = status.error;
            return outcome;
        }
        if (FileStatus removed = files_.Delete(plan.from); !removed)
            outcome.error = removed.error;
        else
            outcome = {RewriteRefusal::None, {}, file.oldPath, {}, OnDisk::Saved};
        writer_->Done(number, JournalOutcomeOf(outcome), outcome.path, file.identity,
                      outcome.error);
        if (FileStatus status = writer_->Commit(); !status)
            JournalIncomplete(status);
        return outcome;
    }

    void JournalIncomplete(const FileStatus& status) {
        journalIncomplete_ = true;
        err_ << "tzrhdr: the journal did not take what the last writes left on disk: "
             << JournalProblemText(status.error) << "\n";
    }

    void Report(const FileOutcome& outcome) {
        const std::string name = ToUtf8(outcome.file);
        if (!outcome.error.empty())
            err_ << "tzrhdr: " << name << ": " << outcome.error << "\n";
        if (request_.json) {
            out_ << JsonOutcome(outcome, request_.dryRun);
            return;
        }
        if (!outcome.error.empty())
            return;
        out_ << name << ": "
             << (outcome.status == Status::Unchanged ? "already as before the batch"
                 : request_.dryRun                   ? "would be restored"
                                                     : "restored");
        if (!outcome.newPath.empty())
            out_ << ", renamed back to " << ToUtf8(outcome.newPath);
        out_ << "\n";
    }

    const UndoRequest& request_;
    FileSystem& files_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<OpenedFile> journal_;
    JournalIndex index_;
    std::unique_ptr<JournalWriter> writer_;
    int journalled_ = 0;
    bool journalIncomplete_ = false;
};

}  // namespace

int RunUndo(const UndoRequest& request, std::ostream& out, std::ostream& err) {
    return UndoRun(request, out, err).Run();
}
