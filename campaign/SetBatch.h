#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/BatchNames.h"
#include "campaign/CampaignMatch.h"
#include "campaign/FieldEdits.h"
#include "campaign/FileList.h"
#include "campaign/Findings.h"
#include "campaign/HeaderLineChanges.h"
#include "campaign/Journal.h"
#include "header/HeaderReader.h"
#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"
#include "platform/FileSystem.h"

struct SetBatchRequest {
    FileList files;
    // Taken into every file.
    FieldValues edits;
    // The rows the files take their values from; null for none. Rows are matched as the files
    // are read, so that the caller can report the rows left without a file afterwards.
    CampaignMatch* campaign = nullptr;
    // Whether a file outside the batch that has a new name may be replaced.
    bool replace = false;
    // Plans every write and writes nothing.
    bool dryRun = false;
    // Makes a dry run read each file as a check does: without asking the system for the file's
    // facts or opening it as the save would. It still tells what would change, which files would
    // be renamed and which changed since the caller read them, at the pace of a check, but leaves
    // a file given twice under two names, or one that cannot be opened for writing, for the save
    // to refuse.
    bool dryRunAsCheck = false;
    // Header text is read and written in this code page.
    unsigned codePage = 0;
    // Where each write is recorded first; nothing for none.
    std::optional<JournalTarget> journal;
    FileSystem* fileSystem = &SystemFileSystem();
    // Per file, in the order of `files`, taken after `edits`; empty when every file takes only
    // `edits`.
    std::vector<FieldValues> fileEdits;
    // Per file, what the caller's read saw; a file that holds another header region now, or
    // fewer bytes than that read saw, is refused, so that edits made on what the caller showed
    // never overwrite a change made since. Empty when the caller showed nothing.
    std::vector<FileSnapshot> readSnapshots;
};

enum class SetStatus { Changed, Renamed, Unchanged, Failed };

// Why a file failed, or was written with a problem.
enum class SetProblem {
    None,
    // `readFailure` tells why.
    Unreadable,
    // The catalogue is empty, so that no antenna type could be written.
    EmptyCatalogue,
    // `fieldProblem`, in the campaign row `row` (-1 for the field options).
    FieldValue,
    // `valueProblem`: a value cannot stand in the header.
    ValueRefused,
    // The header would be longer than the reader takes.
    HeaderTooLong,
    // Reading the file again before its write planned another save.
    ChangedWhilePlanned,
    // The file's header is no longer the one the caller read.
    ChangedSinceRead,
    // `clash` tells how its new name clashes with the batch.
    NameClash,
    // `target`, a file outside the batch, has the new name and replacing it was not asked for.
    TargetExists,
    // The journal stopped taking lines (`journalError`), so the file was not written.
    JournalStopped,
    // The path the journal would record, or the new one, would not name the file again.
    NameNotJournalled,
    // `written` tells what the write left on disk.
    Rewrite,
};

struct FieldChange {
    std::string_view field;
    std::wstring before;
    std::wstring after;
};

// What happened, or under a dry run would happen, to one file.
struct SetFileResult {
    SetStatus status = SetStatus::Unchanged;
    // Where the file is, or would be, when that is not its own path; empty otherwise.
    std::wstring newPath;
    // The new name replaces a file outside the batch.
    bool replacing = false;
    // The campaign has no row for the file, so it was left as it is.
    bool noRow = false;
    std::vector<FieldChange> changes;
    // What check would find in the values written.
    std::vector<Finding> warnings;
    // Under a dry run, the header lines that would change.
    std::vector<HeaderLineChange> lineChanges;

    SetProblem problem = SetProblem::None;
    ReadFailure readFailure;
    FieldValueProblem fieldProblem;
    int row = -1;
    ValueProblem valueProblem;
    NameClash clash;
    std::wstring target;
    std::wstring journalError;
    RewriteOutcome written;

    bool Writes() const { return status == SetStatus::Changed || status == SetStatus::Renamed; }
};

// Follows a batch while it runs, such as a window that fills a table row by row.
class SetBatchListener {
  public:
    virtual ~SetBatchListener() = default;
    // Each record read while the batch is planned, before any file is written.
    virtual void Read(const StationHeader&) {}
    // Before the file at `index` is read again for its write.
    virtual void Saving(size_t) {}
    // The journal did not take what the last group's writes left on disk.
    virtual void JournalIncomplete(const FileStatus&) {}
    // The final result of the file at `index`, in the order of the files. The batch keeps none
    // of them, so that its memory does not grow with the files' changes and warnings.
    virtual void Done(size_t, const SetFileResult&) {}
};

enum class JournalRefusal { None, NoFolder, NotAJournal, Unwritable };

struct SetBatchResult {
    // Why the journal could not be opened; then no file was written.
    JournalRefusal journalRefusal = JournalRefusal::None;
    std::wstring journalError;
    // The journal lacks what some writes left on disk.
    bool journalIncomplete = false;
    // Files by SetStatus.
    std::array<size_t, 4> tally{};
    // Files that failed or were written with a problem.
    size_t problems = 0;

    // The journal was opened, no file failed or was written with a problem, and the journal
    // holds every write.
    bool Complete() const;
};

// Edits each file as the editor's Save would after the same edits: the field values, then the
// cells of its campaign row that differ from what it holds. Every new name is worked out before
// any file is written, and a file whose new name clashes with another file of the batch is
// refused. A failure never stops the other files. With a journal, files are saved in groups,
// each group's lines on the disk before its writes.
SetBatchResult RunSetBatch(const SetBatchRequest& request, const AntennaCatalogue& catalogue,
                           SetBatchListener& listener);
