#include "campaign/SetBatch.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <unordered_map>

#include "campaign/FileReadFailure.h"
#include "campaign/SaveFiles.h"
#include "header/SavePlan.h"
#include "platform/CodePage.h"

namespace {

// Files saved between two flushes of the journal.
constexpr size_t kGroupSize = 64;

SetFileResult Failure(SetProblem problem) {
    SetFileResult result;
    result.status = SetStatus::Failed;
    result.problem = problem;
    return result;
}

std::vector<FieldChange> ChangesBetween(const StationHeader& before, const StationHeader& after,
                                        unsigned codePage) {
    std::vector<FieldChange> changes;
    for (const RecordField& field : RecordFields()) {
        std::wstring old = field.print(before, codePage);
        std::wstring now = field.print(after, codePage);
        if (old != now)
            changes.push_back({field.name, std::move(old), std::move(now)});
    }
    return changes;
}

std::vector<std::string_view> FieldsOf(const FieldValues& values) {
    std::vector<std::string_view> fields;
    for (const FieldValue& value : values)
        fields.push_back(value.field->name);
    return fields;
}

// Whether the file holds another header region than a read saw, or was cut short since, as
// another program may leave it that took the observation data away.
bool ChangedSince(const FileSnapshot& read, const FileSnapshot& now) {
    return now.headerRegion != read.headerRegion || now.size < read.size;
}

// Whether the file's header region already holds what a save would write there.
bool HoldsHeader(const FileSnapshot& read, const SavePlan& plan) {
    return read.headerRegion == HeaderForRegion(plan.headerText, read.headerRegion.size());
}

// What the write left on disk, in the terms the result uses.
SetFileResult AfterRewrite(const std::wstring& file, const RewriteOutcome& written,
                           SetFileResult planned) {
    if (written.onDisk == OnDisk::Saved && written.error.empty())
        return planned;
    SetFileResult result =
        written.onDisk == OnDisk::Saved ? std::move(planned) : Failure(SetProblem::Rewrite);
    result.problem = SetProblem::Rewrite;
    result.written = written;
    if (written.onDisk != OnDisk::Saved && written.onDisk != OnDisk::Unchanged &&
        written.path != file)
        result.newPath = written.path;
    return result;
}

// What the batch keeps of every file from its plan to its save, beside the new names of the few
// that it renames: what the name check and the write need. A file it does not write has nothing
// more to tell unless it failed.
struct PlannedFile {
    SetStatus status = SetStatus::Unchanged;
    bool noRow = false;

    bool Writes() const { return status == SetStatus::Changed || status == SetStatus::Renamed; }
};

// The values to take into one file, and the campaign row they come from (-1 for none).
struct FileEdits {
    FieldValues values;
    int row = -1;
};

class SetRun {
  public:
    SetRun(const SetBatchRequest& request, const AntennaCatalogue& catalogue,
           SetBatchListener& listener)
        : request_(request),
          catalogue_(catalogue),
          listener_(listener),
          files_(*request.fileSystem) {
        readOptions_.codePage = request.codePage;
        if (ReadsAsCheck()) {
            readOptions_.forSave = false;
            readOptions_.keepRegion = true;
        }
    }

    SetBatchResult Run() {
        PlanBatch();
        if (!OpenJournal())
            return std::move(result_);
        for (size_t start = 0; start < request_.files.size(); start += kGroupSize) {
            const size_t end = std::min(request_.files.size(), start + kGroupSize);
            const std::vector<SetFileResult> group = SaveGroup(start, end);
            for (size_t i = start; i < end; ++i) {
                const SetFileResult& done = group[i - start];
                listener_.Done(i, done);
                ++result_.tally[static_cast<size_t>(done.status)];
                if (done.problem != SetProblem::None)
                    ++result_.problems;
            }
        }
        return std::move(result_);
    }

  private:
    bool ReadsAsCheck() const { return request_.dryRun && request_.dryRunAsCheck; }

    // Opens the journal when the batch is about to write; false when it cannot be written, so
    // that no file is.
    bool OpenJournal() {
        if (!request_.journal || request_.dryRun ||
            std::none_of(plans_.begin(), plans_.end(),
                         [](const PlannedFile& file) { return file.Writes(); }))
            return true;
        if (request_.journal->path.empty()) {
            result_.journalRefusal = JournalRefusal::NoFolder;
            return false;
        }
        if (!MayHoldJournal(files_, request_.journal->path)) {
            result_.journalRefusal = JournalRefusal::NotAJournal;
            return false;
        }
        FileStatus status;
        journal_ =
            JournalWriter::Open(files_, request_.journal->path, request_.journal->batch, status);
        if (journal_)
            return true;
        result_.journalRefusal = JournalRefusal::Unwritable;
        result_.journalError = status.error;
        return false;
    }

    // Plans every file, then refuses the saves whose new names clash, before anything is
    // written.
    void PlanBatch() {
        plans_.reserve(request_.files.size());
        identities_.reserve(request_.files.size());
        for (size_t i = 0; i < request_.files.size(); ++i) {
            SetFileResult plan = EditFile(i, nullptr);
            plans_.push_back({plan.status, plan.noRow});
            if (!plan.newPath.empty())
                newPaths_.emplace(i, std::move(plan.newPath));
            if (plan.status == SetStatus::Failed)
                failures_.emplace(i, std::move(plan));
        }
        std::vector<std::pair<size_t, NameClash>> clashes = NameClashesOfBatch();
        for (auto& [i, clash] : clashes) {
            if (!plans_[i].Writes())
                continue;
            SetFileResult refused = Failure(SetProblem::NameClash);
            refused.clash = std::move(clash);
            failures_.insert_or_assign(i, std::move(refused));
            plans_[i] = {SetStatus::Failed, false};
            newPaths_.erase(i);
        }
    }

    // The clashes of the new names, and of files given twice under two names, by file in order.
    std::vector<std::pair<size_t, NameClash>> NameClashesOfBatch() {
        const std::vector<size_t> givenTwice = FilesGivenUnderTwoNames();
        // Without a new name only a file given twice can clash, and its names share an identity;
        // a batch that renames nothing then needs no list of every path.
        if (newPaths_.empty() && givenTwice.empty())
            return {};
        std::vector<std::wstring> paths;
        std::vector<BatchFile> names;
        paths.reserve(request_.files.size());
        names.reserve(request_.files.size());
        for (size_t i = 0; i < request_.files.size(); ++i)
            paths.push_back(request_.files[i]);
        for (size_t i = 0; i < request_.files.size(); ++i)
            names.push_back({paths[i], NewPathOf(i)});
        std::vector<std::pair<size_t, NameClash>> clashes = ClashingFiles(names);
        for (const size_t i : givenTwice) {
            const auto at =
                std::lower_bound(clashes.begin(), clashes.end(), i,
                                 [](const auto& clash, size_t j) { return clash.first < j; });
            if (at == clashes.end() || at->first != i)
                clashes.insert(at, {i, NameClash{NameClashKind::GivenTwice, {}, {}}});
        }
        return clashes;
    }

    const std::wstring& NewPathOf(size_t index) const {
        static const std::wstring none;
        const auto found = newPaths_.find(index);
        return found == newPaths_.end() ? none : found->second;
    }

    // A file given twice under two spellings of its path, or under two of its hard links, is
    // one file: each of its saves would take the other's for a change by another program. The
    // files by their identity show those that share one side by side.
    std::vector<size_t> FilesGivenUnderTwoNames() {
        std::sort(identities_.begin(), identities_.end(), [](const auto& a, const auto& b) {
            return std::tie(a.second.volume, a.second.index, a.first) <
                   std::tie(b.second.volume, b.second.index, b.first);
        });
        std::vector<size_t> files;
        for (size_t k = 0; k < identities_.size(); ++k) {
            const bool sharing =
                (k > 0 && identities_[k - 1].second == identities_[k].second) ||
                (k + 1 < identities_.size() && identities_[k + 1].second == identities_[k].second);
            if (sharing)
                files.push_back(identities_[k].first);
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    // The result of a file that the batch does not write, as its plan left it.
    SetFileResult Unwritten(size_t index) {
        const auto failure = failures_.find(index);
        if (failure == failures_.end()) {
            SetFileResult result;
            result.noRow = plans_[index].noRow;
            return result;
        }
        SetFileResult result = std::move(failure->second);
        failures_.erase(failure);
        return result;
    }

    // The field options, then the cells of the file's campaign row that differ from what the
    // file holds. Nothing when the campaign has no row for the file.
    std::optional<FileEdits> EditsFor(size_t index, const StationHeader& header) {
        const std::wstring& file = request_.files[index];
        FileEdits edits{request_.edits, -1};
        if (!request_.fileEdits.empty())
            edits.values.insert(edits.values.end(), request_.fileEdits[index].begin(),
                                request_.fileEdits[index].end());
        CampaignMatch* campaign = request_.campaign;
        if (campaign == nullptr)
            return edits;
        edits.row = campaign->MatchFile(file, header.stationName);
        if (edits.row < 0)
            return std::nullopt;
        for (FieldValue& cell :
             campaign->ChangingCells(edits.row, header, catalogue_, request_.codePage))
            edits.values.push_back(std::move(cell));
        return edits;
    }

    // Reads one file, takes its edits and plans its save. Given the plan that the batch checked,
    // it then prepares the write (under a dry run, describes it), provided that reading the file
    // again plans the same save.
    SetFileResult EditFile(size_t index, const PlannedFile* checked,
                           std::optional<FileSave>* save = nullptr) {
        const std::wstring& file = request_.files[index];
        StationHeader header;
        const std::vector<ReaderMessage> messages =
            ReadStationHeader(file, catalogue_, header, readOptions_).Messages();
        if (std::optional<ReadFailure> failure = ReadFailureOf(files_, file, header, messages)) {
            // A row is for a file that exists even when the file cannot be read; only a row
            // keyed by the current station cannot be told then.
            if (request_.campaign != nullptr)
                request_.campaign->MatchUnreadFile(file);
            SetFileResult result = Failure(SetProblem::Unreadable);
            result.readFailure = std::move(*failure);
            return result;
        }
        if (!request_.readSnapshots.empty() &&
            ChangedSince(request_.readSnapshots[index], header.snapshot))
            return Failure(SetProblem::ChangedSinceRead);
        if (checked == nullptr && !ReadsAsCheck())
            identities_.emplace_back(index, header.snapshot.identity);
        listener_.Read(header);
        const std::optional<FileEdits> edits = EditsFor(index, header);
        SetFileResult result;
        result.noRow = !edits;
        if (!edits || edits->values.empty())
            return result;

        const StationHeader read = header;
        if (!HoldAsEditor(header, catalogue_))
            return Failure(SetProblem::EmptyCatalogue);
        if (std::optional<FieldValueProblem> problem =
                TakeFieldValues(header, edits->values, catalogue_)) {
            result = Failure(SetProblem::FieldValue);
            result.fieldProblem = std::move(*problem);
            result.row = edits->row;
            return result;
        }
        const SavePlan plan = PlanSave(header, header.measureTo, request_.codePage, OemCodePage());
        plan.RoundHeightIn(header);
        if (plan.refusal) {
            result = Failure(SetProblem::ValueRefused);
            result.valueProblem = *plan.refusal;
            return result;
        }
        if (plan.headerTooLong)
            return Failure(SetProblem::HeaderTooLong);
        const bool renaming = plan.newPath != file;
        if (!renaming && HoldsHeader(header.snapshot, plan))
            return result;

        result.status = renaming ? SetStatus::Renamed : SetStatus::Changed;
        result.newPath = renaming ? plan.newPath : std::wstring();
        result.changes = ChangesBetween(read, header, request_.codePage);
        result.warnings = WrittenFieldFindings(file, header, catalogue_, FieldsOf(edits->values));
        if (checked == nullptr)
            return result;
        if (result.status != checked->status || result.newPath != NewPathOf(index))
            return Failure(SetProblem::ChangedWhilePlanned);
        result.replacing = NewPathNamesAnotherFile(files_, file, plan.newPath);
        if (result.replacing && !request_.replace) {
            result = Failure(SetProblem::TargetExists);
            result.target = plan.newPath;
            return result;
        }
        // Read as a check reads, the file has no identity to look for; the save looks.
        if (request_.journal &&
            !(JournalKeepsName(plan.newPath) &&
              (ReadsAsCheck() || JournalReaches(files_, file, header.snapshot.identity))))
            return Failure(SetProblem::NameNotJournalled);
        if (request_.dryRun) {
            if (!ReadsAsCheck()) {
                if (const std::optional<RewriteOutcome> refused = RewriteRefusalBeforeWriting(
                        files_,
                        {file, plan.newPath, plan.headerText, header.snapshot, result.replacing}))
                    return AfterRewrite(file, *refused, std::move(result));
            }
            result.lineChanges =
                HeaderLineChanges(header.snapshot.headerRegion, plan.headerText, request_.codePage);
            return result;
        }
        if (!journal_ && !journalError_.empty())
            return JournalStopped();
        *save = FileSave{{file, plan.newPath, plan.headerText, header.snapshot, result.replacing}};
        return result;
    }

    SetFileResult JournalStopped() const {
        SetFileResult result = Failure(SetProblem::JournalStopped);
        result.journalError = journalError_;
        return result;
    }

    // Prepares the files of one group, then saves them together: one flush of the journal before
    // their writes and one after. Returns their results, in order.
    std::vector<SetFileResult> SaveGroup(size_t start, size_t end) {
        std::vector<SetFileResult> results;
        results.reserve(end - start);
        std::vector<FileSave> saves;
        // Each save's position in the group.
        std::vector<size_t> saved;
        for (size_t i = start; i < end; ++i) {
            listener_.Saving(i);
            if (!plans_[i].Writes()) {
                results.push_back(Unwritten(i));
                continue;
            }
            std::optional<FileSave> save;
            results.push_back(EditFile(i, &plans_[i], &save));
            if (save) {
                save->number = ++journalled_;
                saves.push_back(std::move(*save));
                saved.push_back(i - start);
            }
        }
        if (saves.empty())
            return results;
        const SavedGroup group = SaveFiles(files_, saves, journal_.get());
        if (!group.journalBefore) {
            journalError_ = group.journalBefore.error;
            journal_.reset();
        }
        if (!group.journalAfter) {
            result_.journalIncomplete = true;
            listener_.JournalIncomplete(group.journalAfter);
        }
        for (size_t k = 0; k < saves.size(); ++k) {
            SetFileResult& result = results[saved[k]];
            result = !group.journalBefore ? JournalStopped()
                                          : AfterRewrite(request_.files[start + saved[k]],
                                                         group.outcomes[k], std::move(result));
        }
        return results;
    }

    const SetBatchRequest& request_;
    const AntennaCatalogue& catalogue_;
    SetBatchListener& listener_;
    FileSystem& files_;
    HeaderReadOptions readOptions_;
    SetBatchResult result_;
    // One a file, in the order given.
    std::vector<PlannedFile> plans_;
    // The paths the plans give the files they rename, by the file's index.
    std::unordered_map<size_t, std::wstring> newPaths_;
    // The results of the files that failed before their save, by their index, until reported.
    std::unordered_map<size_t, SetFileResult> failures_;
    std::unique_ptr<JournalWriter> journal_;
    // Which file each path that was read stands for, by the path's number.
    std::vector<std::pair<size_t, FileIdentity>> identities_;
    int journalled_ = 0;
    // Why the journal stopped taking lines, from the system; the batch stops writing with it.
    std::wstring journalError_;
};

}  // namespace

bool SetBatchResult::Complete() const {
    return journalRefusal == JournalRefusal::None && !journalIncomplete && problems == 0;
}

SetBatchResult RunSetBatch(const SetBatchRequest& request, const AntennaCatalogue& catalogue,
                           SetBatchListener& listener) {
    return SetRun(request, catalogue, listener).Run();
}
