#pragma once

#include <string>
#include <vector>

#include "campaign/Journal.h"
#include "header/RawFileRewrite.h"
#include "platform/FileSystem.h"

enum class TakeBackAction {
    // Put the old header back and give the file its old name.
    Restore,
    // The old name holds the file as it was; a second copy with the batch's header, the same
    // observation data, stands under the new name.
    RemoveLeftover,
    AsBefore,
    ChangedSince,
    Missing,
    // The file exists but cannot be read now: nothing can be told of it.
    Unreadable,
};

struct TakeBackPlan {
    TakeBackAction action = TakeBackAction::Missing;
    // Where the file is now.
    std::wstring from;
    // For Restore: the save that puts the old header back.
    RewriteRequest restore;
    JournalFile file;
    // For Unreadable: the system's reason, when it gave one.
    std::wstring readError;
};

// Where a file of a batch stands and what taking it back means. A file that holds the header the
// batch wrote is restored; so is one whose write stopped half-way (its identity and size as
// journalled, each byte of the header region the old one's or the new one's), and one an undo
// restored without giving back its name.
TakeBackPlan PlanTakeBack(FileSystem& files, const JournalFile& file);

// A save or an undo stopped while it copied the file (killed, or the system went down) leaves the
// copy beside it, under the file's name with ".tmp" added. Once the file is settled, such a copy
// is removed when it holds nothing but a beginning of the file with its old or its new header;
// anything else at that name is left alone. Returns the copies removed.
std::vector<std::wstring> RemoveStoppedCopies(FileSystem& files, const JournalFile& file);
