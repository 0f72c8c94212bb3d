#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

struct RewriteRequest {
    std::wstring currentPath;
    std::wstring newPath;
    std::string headerText;
    // Leading bytes of the current file that its header occupies.
    int32_t headerRegionLength = 0;
    // The user agreed to replace another file that stands at the new path.
    bool replaceExisting = false;
};

struct RewriteOutcome {
    // False when a file could not be opened; nothing was changed then.
    bool opened = true;
    // Why the rewrite failed, or why the file could not be opened; empty on success.
    std::wstring error;
    // The raw file as it now exists on disk.
    std::wstring path;
    int32_t headerRegionLength = 0;
};

// True when the new path names an existing file that is not the file being saved.
bool NewPathNamesAnotherFile(FileSystem& files, const std::wstring& currentPath,
                             const std::wstring& newPath);

// Puts the header in front of the file's observation data and gives the file its new name. A
// header that fits the old region is written over it; a longer one goes through a copy beside
// the file that replaces it in one step. At every moment one complete copy of the data exists
// under the old or the new name.
RewriteOutcome RewriteRawFile(FileSystem& files, const RewriteRequest& request);
