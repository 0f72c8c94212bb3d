#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "campaign/FileList.h"
#include "cli/ToolTexts.h"

// How the FILE arguments of show, set and check are taken.
struct FileArgumentOptions {
    // A folder stands for the raw files in its subfolders too, all the way down.
    bool recursive = false;
    Language language = Language::English;
};

// The files that the FILE arguments name, in their order. Windows shells leave wildcards to the
// program, so an argument with "*" or "?" that names no file stands for the names that match it
// (see MatchesWildcard), in name order; a folder stands for the raw files (.TZR) in it;
// "@LIST" for the lines of the file LIST, each taken as an argument, in UTF-8, UTF-16 with a
// byte-order mark, or else the system's ANSI code page. Every other argument stays as it is,
// forward slashes read as the system reads them. A subfolder that cannot be listed is passed
// over with a line on `err`. Throws UsageError naming the argument when a pattern matches
// nothing, a folder holds no raw file, or a list cannot be read or names nothing.
FileList ExpandFileArguments(const std::vector<std::wstring>& arguments,
                             const FileArgumentOptions& options, std::ostream& err);
