#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

// Takes one name of a folder, and whether it is a folder itself; a link to a folder is none, so
// that walking down never loops. The name lives only for the call.
using FolderNameTaker = std::function<void(std::wstring_view name, bool folder)>;

// Hands each name in `folder` to `take`, "." and ".." left out, in no particular order: a folder
// of tens of thousands of files is never held as one text per name.
FileStatus ListFolder(const std::wstring& folder, const FolderNameTaker& take);

// True when `path` is a folder or a link to one.
bool IsFolder(const std::wstring& path);
