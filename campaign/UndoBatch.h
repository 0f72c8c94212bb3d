#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "campaign/Journal.h"
#include "header/RawFileRewrite.h"
#include "platform/FileSystem.h"

enum class UndoStatus { Restored, Unchanged, ChangedSince, Missing, Failed };

enum class UndoProblem {
    None,
    // The journal's line for the file does not read; the file is left alone.
    JournalLineUnreadable,
    // The file exists but cannot be read now.
    Unreadable,
    ChangedSince,
    Missing,
    // `written` tells what the restore left on disk.
    Restore,
};

// What happened, or under a dry run would happen, to one file of the batch taken back.
struct UndoFileResult {
    UndoStatus status = UndoStatus::Unchanged;
    // Where the file is now, and the name it gets back; empty when it keeps its name.
    std::wstring file;
    std::wstring newPath;
    UndoProblem problem = UndoProblem::None;
    // For UndoProblem::Unreadable: the system's reason, when it gave one.
    std::wstring readError;
    RewriteOutcome written;
};

// Follows an undo while it runs, such as a window that fills a table row by row.
class UndoBatchListener {
  public:
    virtual ~UndoBatchListener() = default;
    // The journal did not take what the last writes left on disk.
    virtual void JournalIncomplete(const FileStatus&) {}
    // The final result of each file, newest first.
    virtual void Done(const UndoFileResult&) {}
};

struct UndoBatchResult {
    // The journal could not take the undo's own batch (`journalError`); no file was written.
    bool journalRefused = false;
    std::wstring journalError;
    // Files to take back, and they by UndoStatus.
    size_t fileCount = 0;
    std::array<size_t, 5> tally{};
    // The journal lacks what some writes left on disk.
    bool journalIncomplete = false;
};

enum class JournalAccess { Opened, Missing, InUse, Unreadable, NotAJournal };

// A journal opened to list its batches or to take one back. Two undos of one journal at once
// would each take the other's files for changed ones: an undo that writes holds the journal to
// itself.
class UndoJournal {
  public:
    // Nothing, with `access` and `error` telling why, when the journal cannot be opened or read.
    static std::unique_ptr<UndoJournal> Open(FileSystem& files, const std::wstring& path,
                                             bool writing, JournalAccess& access,
                                             std::wstring& error);

    const JournalIndex& Index() const { return index_; }
    // The batch `id`, or by default the newest batch of edits with a file still to take back;
    // null when there is none.
    const BatchSummary* Target(const std::optional<std::string>& id) const;

    // Takes the batch back, its files newest first: a file that still holds exactly the header
    // the batch wrote gets its old header region back, byte for byte, and its old name; a file
    // changed since is left alone. The undo is recorded as the batch `undo`, whose `undoes` this
    // sets; a dry run records and writes nothing. With `againLeftAlone`, files an earlier undo
    // left alone (changed since, or gone) are looked at again: one may be back as the batch left
    // it.
    UndoBatchResult TakeBack(const BatchSummary& batch, BatchInfo undo, bool dryRun,
                             UndoBatchListener& listener, bool againLeftAlone = false);

  private:
    UndoJournal(FileSystem& files, std::unique_ptr<OpenedFile> journal)
        : files_(files), journal_(std::move(journal)) {}

    FileSystem& files_;
    std::unique_ptr<OpenedFile> journal_;
    JournalIndex index_;
};
