#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

// One name in a folder.
struct FolderEntry {
    std::wstring name;
    // A folder itself; a link to a folder is none, so that walking down never loops.
    bool folder = false;
};

// The names in `folder`, "." and ".." left out, in no particular order.
FileStatus ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);

// True when `path` is a folder or a link to one.
bool IsFolder(const std::wstring& path);
