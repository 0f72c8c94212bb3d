#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/Findings.h"
#include "campaign/SetBatch.h"
#include "campaign/UndoBatch.h"
#include "header/HeaderReader.h"
#include "platform/FileSystem.h"

// The batches a campaign window runs on its worker thread. Each leaves what the window's thread
// needs afterwards: the core's result and the files it wrote, read again, by their rows.

// A row's file as it is on disk after a batch.
struct RereadRow {
    size_t row;
    CheckedFile file;
};

struct SavedBatch {
    SetBatchResult result;
    // Each file's result, in the order of the request's files.
    std::vector<SetFileResult> files;
    std::vector<RereadRow> reread;
};

// Runs the batch; each file it wrote is read again at its new path. `done` counts the files
// whose result is known.
SavedBatch SaveBatch(const SetBatchRequest& request, const std::vector<size_t>& rows,
                     const AntennaCatalogue& catalogue, const HeaderReadOptions& options,
                     std::atomic<size_t>& done);

struct TakenBackBatch {
    JournalAccess access = JournalAccess::Opened;
    std::wstring error;
    // Nothing when the journal has no such batch.
    std::optional<UndoBatchResult> result;
    std::vector<UndoFileResult> files;
    std::vector<RereadRow> reread;
};

// Takes the batch `id` of the journal back, even files an earlier undo left alone. `rowsByPath`
// finds a row by its file's path in FileNameForComparison form; files of no row are not read.
TakenBackBatch TakeBackBatch(FileSystem& files, const std::wstring& journalPath,
                             const std::string& id, BatchInfo undo,
                             const std::map<std::wstring, size_t>& rowsByPath,
                             const AntennaCatalogue& catalogue, const HeaderReadOptions& options,
                             std::atomic<size_t>& done);
