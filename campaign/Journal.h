#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// One file of a batch as the journal keeps it: its line before the write, and what the line
// after the write says.
struct JournalFile {
    int number = 0;
    FileIdentity identity;
    std::wstring oldPath;
    std::wstring newPath;
    // The header region the file held, and the bytes the batch put in front of its data.
    std::string oldHeader;
    std::string newHeader;
    // Nothing while no line says how the write ended (the batch stopped before).
    std::optional<bool> written;
    // Where the write left the file.
    std::wstring pathAfter;
};

struct JournalBatch {
    BatchInfo info;
    std::vector<JournalFile> files;
};

struct Journal {
    // Oldest first.
    std::vector<JournalBatch> batches;
    // Lines that are not journal lines, such as one torn by a crash.
    size_t unreadableLines = 0;
};

// A name for a new batch that is short enough to type: the time and a random part.
std::string NewBatchId();
// The time now, as batches record it.
std::string JournalTime();

Journal ParseJournal(std::string_view bytes);

// For each batch, oldest first, whether a later batch takes it back and is not itself taken
// back.
std::vector<bool> TakenBack(const std::vector<JournalBatch>& batches);

// Appends the lines of one batch; every line is on the disk before the call returns. Paths are
// recorded from the root, so that an undo finds the files from any folder.
class JournalWriter {
  public:
    // Nothing, with `status` telling why, when the journal cannot be opened for appending.
    static std::unique_ptr<JournalWriter> Open(const std::wstring& path, BatchInfo info,
                                               FileStatus& status);

    // Before the file is written; `file.written` and `file.pathAfter` are not used.
    FileStatus Intent(const JournalFile& file);
    // After the write: whether it succeeded, why not, and the file as it now is.
    FileStatus Done(int number, bool written, const std::string& error,
                    const std::wstring& pathAfter, const FileIdentity& identityAfter);

  private:
    FileStatus AppendLine(std::string_view line);

    JournalWriter(std::unique_ptr<OpenedFile> file, BatchInfo info)
        : file_(std::move(file)), info_(std::move(info)) {}

    std::string LineStart(std::string_view entry, int number) const;

    std::unique_ptr<OpenedFile> file_;
    BatchInfo info_;
};
