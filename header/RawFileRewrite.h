#pragma once

#include <optional>
#include <string>
#include <vector>

#include "header/FileSnapshot.h"
#include "platform/FileSystem.h"

struct RewriteRequest {
    std::wstring currentPath;
    std::wstring newPath;
    std::string headerText;
    // What the read saw: its region length decides where the observation data begin, and
    // nothing is written when the file is no longer what was read.
    FileSnapshot before;
    // The user agreed to replace another file that stands at the new path.
    bool replaceExisting = false;
    // The header goes in exactly as given: a shorter one than the region goes through a copy
    // instead of being padded, so that taking back an edit restores every byte.
    bool exactHeader = false;
    // A batch flushes each folder once for many renames instead of once for every file.
    bool flushFolder = true;
};

// Why a rewrite changed nothing at all.
enum class RewriteRefusal {
    None,
    CannotOpen,
    InUse,
    Link,
    ReadOnly,
    // The header must go through a copy, and the file's other names would keep the old one.
    HardLinked,
    ChangedSinceRead,
    // Another file stands at the new path and the user did not agree to replace it.
    TargetExists,
};

// What a rewrite left on disk, whatever went wrong on the way.
enum class OnDisk {
    // Nothing was written, or what was written was put back and read back as it was.
    Unchanged,
    // The new header stands in front of the data under the new path.
    Saved,
    // The new header is written, but the file keeps its old name.
    WrittenNotRenamed,
    // The new file stands under the new name, and the old file, which another program wrote to
    // or moved meanwhile, is kept under its own.
    SavedOldKept,
    // A write stopped half-way and the old header could not be put back: the header region
    // holds part of each.
    Torn,
};

struct RewriteOutcome {
    RewriteRefusal refusal = RewriteRefusal::None;
    // Why the rewrite failed or was refused, from the system; empty when nothing went wrong.
    std::wstring error;
    // The raw file as it now exists on disk.
    std::wstring path;
    // What the file now holds, for the next save.
    FileSnapshot after;
    OnDisk onDisk = OnDisk::Unchanged;

    bool Succeeded() const {
        return onDisk == OnDisk::Saved && refusal == RewriteRefusal::None && error.empty();
    }
    // Whether the file holds the new header, under whichever name.
    bool Wrote() const { return onDisk != OnDisk::Unchanged; }
};

// True when the new path names an existing file, or link, that is not the file being saved.
bool NewPathNamesAnotherFile(FileSystem& files, const std::wstring& currentPath,
                             const std::wstring& newPath);

// The header as it is written over a region of `regionLength` bytes: a shorter one has its last
// line padded with spaces, so that no byte of the old header stays in front of the data.
std::string HeaderForRegion(const std::string& headerText, size_t regionLength);

// The names beside the file that a save may have written its copy under and something stands
// at: "NAME.tmp", then "NAME.1.tmp" and on while the name before was taken, as the save chose.
std::vector<std::wstring> TakenCopyNames(FileSystem& files, const std::wstring& path);

// Snapshot of a file's first `regionLength` bytes, for a save that did not come from a read.
std::optional<FileSnapshot> TakeSnapshot(FileSystem& files, const std::wstring& path,
                                         size_t regionLength);

// Puts the header in front of the file's observation data and gives the file its new name. The
// file is opened once and held exclusively until it has its new name, and nothing is written
// unless it is still the file that was read. A header that fits the old region is written over
// it; a longer one goes through a copy beside the file that replaces it in one step. At every
// moment one complete copy of the data exists under the old or the new name.
RewriteOutcome RewriteRawFile(FileSystem& files, const RewriteRequest& request);

// What RewriteRawFile would refuse before it writes anything, such as a read-only or
// hard-linked file, so that a dry run tells what the save would do; nothing when it would go on.
// The file is opened as the save opens it, and nothing is written.
std::optional<RewriteOutcome> RewriteRefusalBeforeWriting(FileSystem& files,
                                                          const RewriteRequest& request);
