#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "campaign/Journal.h"
#include "cli/ToolTexts.h"

struct UndoRequest {
    // The journal read, and where the undo is recorded as a batch of its own.
    JournalTarget journal;
    // The batch to take back; by default the newest batch of edits not taken back yet.
    std::optional<std::string> batch;
    bool list = false;
    bool dryRun = false;
    bool json = false;
    // The language of the report; JSON keys and status words stay the same in every one.
    Language language = Language::English;
    FileSystem* fileSystem = &SystemFileSystem();
};

// Takes a batch back, its files newest first: a file that still holds exactly the header the
// batch wrote gets its old header region back, byte for byte, and its old name; a file changed
// since is reported and left alone. Under `list`, prints the batches instead. Returns 0 when
// every file of the batch is as it was before it, 1 otherwise; throws UsageError for a batch
// that the journal does not hold.
int RunUndo(const UndoRequest& request, std::ostream& out, std::ostream& err);
