#pragma once

#include <string>

#include "platform/DirectorySeparator.h"

// A raw file's path cut as its name is given: the directory, the station name, and what follows
// the station name (day number, session letter, extension).
struct FileNameParts {
    std::wstring directory;
    std::wstring stationName;
    std::wstring suffix;
};

FileNameParts SplitRawFilePath(const std::wstring& path, wchar_t separator = kDirectorySeparator);

std::wstring ComposeRawFilePath(const std::wstring& directory, const std::wstring& stationName,
                                const std::wstring& suffix);
