#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "header/RawFileRewrite.h"
#include "platform/FileSystem.h"

// What every line of one batch repeats about it.
struct BatchInfo {
    std::string id;
    // UTC, as 2026-03-05T01:02:03Z.
    std::string time;
    std::string version;
    std::string command;
    // The batch this one takes back; nothing for a batch of edits.
    std::optional<std::string> undoes;
};

// Where a batch is recorded, and as what. An empty path means that the system names no place for
// the journal, so that the batch may not write.
struct JournalTarget {
    std::wstring path;
    BatchInfo batch;
};

// One file of a batch as its line before the write keeps it.
struct JournalFile {
    int number = 0;
    FileIdentity identity;
    // The file's size when it was read, by which an interrupted write is recognised.
    uint64_t size = 0;
    std::wstring oldPath;
    std::wstring newPath;
    // The header region the file held, and the bytes the batch put in front of its data.
    std::string oldHeader;
    std::string newHeader;
    // For a file of an undo: the number of the file it takes back in the batch undone.
    int restores = 0;
};

// Where a file of a batch stands, as the journal tells it.
enum class FileState : uint8_t {
    // No line names the file.
    None,
    // The write began and no line says how it ended: the disk must tell.
    Unknown,
    // The new header was written, under whichever name, or the write left the header torn.
    Written,
    NotWritten,
    // An undo put the old header back, or found it back.
    TakenBack,
    // An undo found the file changed since, or gone, and left it alone.
    LeftAlone,
};

// What the line after a write says the disk holds. The last three are an undo's findings for a
// file it had nothing to write to.
enum class JournalOutcome {
    Written,
    NotWritten,
    WrittenNotRenamed,
    WrittenOldKept,
    Torn,
    AsBefore,
    ChangedSince,
    Missing,
};

JournalOutcome JournalOutcomeOf(const RewriteOutcome& outcome);

// A batch as `undo` needs it to find and judge its files, without their headers.
struct BatchSummary {
    BatchInfo info;
    // Indexed by file number; where its line before the write begins, and its state.
    std::vector<uint64_t> intentOffsets;
    std::vector<FileState> states;
    // For an undo, indexed likewise: the file of the batch undone that each file takes back.
    std::vector<int> restores;

    size_t FileCount() const;
    // Files whose writes are not all taken back: written, or not known to be unwritten.
    size_t FilesToTakeBack() const;
    // Every file the batch wrote is taken back, and it wrote one at least: a batch that wrote
    // nothing was never taken back.
    bool TakenBack() const;
    size_t FilesLeftAlone() const;
};

struct JournalIndex {
    // Oldest first.
    std::vector<BatchSummary> batches;
    // Physical line numbers, from 1, of lines that are not journal lines, such as one torn by a
    // crash; the first few.
    std::vector<size_t> unreadableLines;
    size_t unreadableCount = 0;
};

// A name for a new batch that is short enough to type: the time and a random part.
std::string NewBatchId();

// False for an existing file that does not begin as a journal does, such as a raw file named as
// the journal by mistake (appending lines to it would damage it), and for a device or a folder.
bool MayHoldJournal(FileSystem& files, const std::wstring& path);

// False for a name the journal's UTF-8 would change, so that an undo could not give it back: a
// POSIX name that is not UTF-8, or an NTFS name with a lone surrogate.
bool JournalKeepsName(const std::wstring& path);
// Whether the path the journal records for a file reaches it again: it keeps its spelling, and
// the system takes it whole (a path longer than it takes may be reached through a relative one).
bool JournalReaches(FileSystem& files, const std::wstring& path, const FileIdentity& identity);
// The time now, as batches record it.
std::string JournalTime();

// Reads the journal once from its start as a stream: memory grows with the number of batches
// and files, never with the headers they hold.
FileStatus ReadJournalIndex(OpenedFile& journal, JournalIndex& index);
// The line before the write of one file, read again at its offset; nothing when it does not read.
std::optional<JournalFile> ReadJournalFile(OpenedFile& journal, uint64_t offset);

// Appends the lines of one batch. Lines wait until `Commit`, which puts them on the disk in one
// flush, so that a group of files costs one flush before their writes and one after. Paths are
// recorded from the root, so that an undo finds the files from any folder.
class JournalWriter {
  public:
    // Nothing, with `status` telling why, when the journal cannot be opened for appending.
    static std::unique_ptr<JournalWriter> Open(FileSystem& files, const std::wstring& path,
                                               BatchInfo info, FileStatus& status);
    // Writes through a handle already open on the journal, such as one that an undo holds
    // exclusively, after whatever it holds.
    static std::unique_ptr<JournalWriter> Over(OpenedFile& journal, BatchInfo info,
                                               FileStatus& status);

    // Before the file is written.
    void Intent(const JournalFile& file);
    // After the write: what it left on disk, where the file now is, and why not all went well.
    void Done(int number, JournalOutcome outcome, const std::wstring& path,
              const FileIdentity& identity, const std::wstring& error);
    FileStatus Commit();

  private:
    JournalWriter(std::unique_ptr<OpenedFile> owned, OpenedFile& file, BatchInfo info)
        : owned_(std::move(owned)), file_(file), info_(std::move(info)) {}

    std::unique_ptr<OpenedFile> owned_;
    OpenedFile& file_;
    BatchInfo info_;
    std::string pending_;
};
