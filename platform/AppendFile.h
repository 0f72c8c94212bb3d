#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

// A file that only ever grows, such as a log that must survive a crash: each Append reaches the
// disk itself before it returns, and other programs may read the file meanwhile.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    virtual FileStatus Append(std::string_view bytes) = 0;
};

// Opens the file for appending, creating it and any missing folders above it; nothing, with
// `status` telling why, when that fails.
std::unique_ptr<AppendFile> OpenAppendFile(const std::wstring& path, FileStatus& status);
