#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

// A subfolder whose names could not be read, such as a system folder at a drive's root.
struct UnlistedFolder {
    std::wstring path;
    // Why, in the system's words.
    std::wstring error;
};

// The raw files of one folder.
struct RawFolder {
    // Whether the folder itself could be listed; when it could not, nothing else is filled.
    FileStatus status;
    // In name order, the files of each folder before those of its subfolders.
    std::vector<std::wstring> files;
    // The subfolders passed over, in the order they were met; none stops the others.
    std::vector<UnlistedFolder> unlisted;
    // The folder has a subfolder, whose raw files a recursive walk would take.
    bool hasSubfolders = false;
};

// The raw files (.TZR, in any letter case, as copy tools leave it) in `folder`, and with
// `recursive` those in its subfolders, all the way down; a link to a folder is not followed.
RawFolder RawFilesInFolder(const std::wstring& folder, bool recursive);

// The names in `folder` ("." when empty), sorted as the system orders file names.
std::vector<FolderEntry> FolderEntriesByName(const std::wstring& folder, FileStatus& status);

// `name` in `folder`, with one separator between them.
std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name);
