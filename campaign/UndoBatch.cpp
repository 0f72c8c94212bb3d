#include "campaign/UndoBatch.h"

#include <algorithm>

#include "campaign/SaveFiles.h"
#include "campaign/TakeBack.h"

namespace {

// Files taken back between two flushes of the journal.
constexpr size_t kGroupSize = 64;

UndoFileResult Problem(UndoStatus status, UndoProblem problem, std::wstring file = {}) {
    UndoFileResult result;
    result.status = status;
    result.problem = problem;
    result.file = std::move(file);
    return result;
}

JournalOutcome FindingOf(TakeBackAction action) {
    return action == TakeBackAction::AsBefore       ? JournalOutcome::AsBefore
           : action == TakeBackAction::ChangedSince ? JournalOutcome::ChangedSince
                                                    : JournalOutcome::Missing;
}

class UndoRun {
  public:
    UndoRun(FileSystem& files, OpenedFile& journal, bool dryRun, UndoBatchListener& listener)
        : files_(files), journal_(journal), dryRun_(dryRun), listener_(listener) {}

    UndoBatchResult Run(const BatchSummary& batch, BatchInfo undo, bool againLeftAlone) {
        if (!dryRun_) {
            undo.undoes = batch.info.id;
            FileStatus status;
            writer_ = JournalWriter::Over(journal_, std::move(undo), status);
            if (!writer_) {
                result_.journalRefused = true;
                result_.journalError = status.error;
                return result_;
            }
        }
        std::vector<int> pending;
        for (size_t number = batch.states.size(); number-- > 1;) {
            const FileState state = batch.states[number];
            if (state == FileState::Written || state == FileState::Unknown ||
                (againLeftAlone && state == FileState::LeftAlone))
                pending.push_back(static_cast<int>(number));
        }
        result_.fileCount = pending.size();
        for (size_t start = 0; start < pending.size(); start += kGroupSize) {
            const size_t end = std::min(pending.size(), start + kGroupSize);
            for (const UndoFileResult& file : TakeBackGroup(batch, pending, start, end)) {
                listener_.Done(file);
                ++result_.tally[static_cast<size_t>(file.status)];
            }
        }
        return result_;
    }

  private:
    std::vector<UndoFileResult> TakeBackGroup(const BatchSummary& batch,
                                              const std::vector<int>& pending, size_t start,
                                              size_t end) {
        std::vector<UndoFileResult> results;
        std::vector<FileSave> saves;
        std::vector<size_t> saved;
        std::vector<TakeBackPlan> leftovers;
        std::vector<size_t> leftoverAt;
        std::vector<JournalFile> group;
        for (size_t i = start; i < end; ++i) {
            const std::optional<JournalFile> file =
                ReadJournalFile(journal_, batch.intentOffsets[static_cast<size_t>(pending[i])]);
            if (!file) {
                results.push_back(Problem(UndoStatus::Failed, UndoProblem::JournalLineUnreadable));
                continue;
            }
            group.push_back(*file);
            const TakeBackPlan plan = PlanTakeBack(files_, *file);
            switch (plan.action) {
                case TakeBackAction::Unreadable:
                    results.push_back(
                        Problem(UndoStatus::Failed, UndoProblem::Unreadable, plan.from));
                    results.back().readError = plan.readError;
                    continue;
                case TakeBackAction::AsBefore:
                    results.push_back(Problem(UndoStatus::Unchanged, UndoProblem::None, plan.from));
                    RecordFinding(*file, plan);
                    continue;
                case TakeBackAction::ChangedSince:
                    results.push_back(
                        Problem(UndoStatus::ChangedSince, UndoProblem::ChangedSince, plan.from));
                    RecordFinding(*file, plan);
                    continue;
                case TakeBackAction::Missing:
                    results.push_back(
                        Problem(UndoStatus::Missing, UndoProblem::Missing, plan.from));
                    RecordFinding(*file, plan);
                    continue;
                case TakeBackAction::Restore:
                case TakeBackAction::RemoveLeftover:
                    break;
            }
            UndoFileResult result = Problem(UndoStatus::Restored, UndoProblem::None, plan.from);
            if (file->oldPath != plan.from)
                result.newPath = file->oldPath;
            // A dry run is told what the restore would refuse before it writes.
            if (dryRun_ && plan.action == TakeBackAction::Restore) {
                if (const std::optional<RewriteOutcome> refused =
                        RewriteRefusalBeforeWriting(files_, plan.restore)) {
                    result.status = UndoStatus::Failed;
                    result.newPath.clear();
                    result.problem = UndoProblem::Restore;
                    result.written = *refused;
                }
            }
            results.push_back(std::move(result));
            if (dryRun_)
                continue;
            if (plan.action == TakeBackAction::RemoveLeftover) {
                leftovers.push_back(plan);
                leftoverAt.push_back(results.size() - 1);
                continue;
            }
            saves.push_back({plan.restore, ++journalled_, file->number});
            saved.push_back(results.size() - 1);
        }
        if (dryRun_)
            return results;
        std::vector<RewriteOutcome> written = SaveGroup(saves);
        for (const TakeBackPlan& leftover : leftovers)
            written.push_back(RemoveLeftover(leftover));
        for (const JournalFile& file : group)
            RemoveStoppedCopies(files_, file);
        saved.insert(saved.end(), leftoverAt.begin(), leftoverAt.end());
        for (size_t k = 0; k < saved.size(); ++k) {
            if (written[k].Succeeded())
                continue;
            UndoFileResult& result = results[saved[k]];
            result.status = UndoStatus::Failed;
            result.newPath.clear();
            result.problem = UndoProblem::Restore;
            result.written = written[k];
        }
        return results;
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
        writer_->Intent(
            {number, file.identity, file.size, plan.from, plan.from, {}, {}, file.number});
        writer_->Done(number, FindingOf(plan.action), plan.from, file.identity, {});
        if (FileStatus status = writer_->Commit(); !status)
            JournalIncomplete(status);
    }

    // A second copy that a stopped save or undo left under the batch's new name, once the old
    // name holds the file as it was before the batch.
    RewriteOutcome RemoveLeftover(const TakeBackPlan& plan) {
        const int number = ++journalled_;
        const JournalFile& file = plan.file;
        writer_->Intent({number, file.identity, file.size, plan.from, file.oldPath, file.newHeader,
                         file.oldHeader, file.number});
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
        result_.journalIncomplete = true;
        listener_.JournalIncomplete(status);
    }

    FileSystem& files_;
    OpenedFile& journal_;
    bool dryRun_;
    UndoBatchListener& listener_;
    std::unique_ptr<JournalWriter> writer_;
    int journalled_ = 0;
    UndoBatchResult result_;
};

}  // namespace

std::unique_ptr<UndoJournal> UndoJournal::Open(FileSystem& files, const std::wstring& path,
                                               bool writing, JournalAccess& access,
                                               std::wstring& error) {
    if (!files.Exists(path)) {
        access = JournalAccess::Missing;
        return nullptr;
    }
    // A raw file named by mistake, or a device such as /dev/zero that would be read without end.
    if (!MayHoldJournal(files, path)) {
        access = JournalAccess::NotAJournal;
        return nullptr;
    }
    FileStatus status;
    std::unique_ptr<OpenedFile> opened =
        files.Open(path, writing ? OpenMode::Rewrite : OpenMode::ReadShared, status);
    if (!opened) {
        access =
            status.fault == FileFault::InUse ? JournalAccess::InUse : JournalAccess::Unreadable;
        error = status.error;
        return nullptr;
    }
    std::unique_ptr<UndoJournal> journal(new UndoJournal(files, std::move(opened)));
    if (status = ReadJournalIndex(*journal->journal_, journal->index_); !status) {
        access = JournalAccess::Unreadable;
        error = status.error;
        return nullptr;
    }
    access = JournalAccess::Opened;
    return journal;
}

const BatchSummary* UndoJournal::Target(const std::optional<std::string>& id) const {
    const std::vector<BatchSummary>& batches = index_.batches;
    for (size_t i = batches.size(); i-- > 0;) {
        if (id ? batches[i].info.id == *id
               : !batches[i].info.undoes && batches[i].FilesToTakeBack() > 0)
            return &batches[i];
    }
    return nullptr;
}

UndoBatchResult UndoJournal::TakeBack(const BatchSummary& batch, BatchInfo undo, bool dryRun,
                                      UndoBatchListener& listener, bool againLeftAlone) {
    return UndoRun(files_, *journal_, dryRun, listener).Run(batch, std::move(undo), againLeftAlone);
}
