#pragma once

#include <span>
#include <vector>

#include "campaign/Journal.h"
#include "header/RawFileRewrite.h"
#include "platform/FileSystem.h"

// One file to save, as the editor, a batch of edits and an undo all save it.
struct FileSave {
    RewriteRequest request;
    // The file's number in its batch's journal.
    int number = 0;
    // For an undo: the number of the file it takes back.
    int restores = 0;
};

struct SavedGroup {
    // One a file, in the order given.
    std::vector<RewriteOutcome> outcomes;
    // Why the journal did not take the lines before the writes (then no file was written), or
    // the lines after them.
    FileStatus journalBefore;
    FileStatus journalAfter;
    // Why a folder's renames may not survive a power loss.
    FileStatus folders;
};

// Saves a group of files. With a journal, no file is touched before the lines that can restore
// the whole group are on the disk, written in one flush; the lines that say what each write left
// on disk follow in one flush after the group, and each folder that a file was renamed in is
// flushed once. A kill at any moment leaves every file restorable from the journal.
SavedGroup SaveFiles(FileSystem& files, std::span<const FileSave> saves, JournalWriter* journal);

// Saves one file with no journal, as the editor's Save does.
RewriteOutcome SaveFile(FileSystem& files, const RewriteRequest& request);
