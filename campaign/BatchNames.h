#pragma once

#include <string>
#include <vector>

// One file of a batch: its path now, and the path its save gives it (the same when it keeps
// its name).
struct BatchFile {
    std::wstring path;
    std::wstring newPath;
};

// For each file, why its save may not run in this batch, or an empty text. A file may not take
// the new name of another file or the name of another file of the batch, whichever would be
// saved first, and no file may be given twice. Names compare as Windows compares them, without
// regard to letter case. Linear in the number of files.
std::vector<std::string> NameClashes(const std::vector<BatchFile>& files);
