#include "campaign/BatchNames.h"

#include <unordered_map>

#include "header/AsciiText.h"
#include "platform/Utf8.h"

namespace {

using FilesByName = std::unordered_map<std::wstring, std::vector<size_t>>;

// Another file of `sharing` than `self`, or `self` when there is none.
size_t OtherThan(const std::vector<size_t>& sharing, size_t self) {
    for (size_t other : sharing) {
        if (other != self)
            return other;
    }
    return self;
}

}  // namespace

std::vector<std::string> NameClashes(const std::vector<BatchFile>& files) {
    std::vector<std::wstring> current(files.size());
    std::vector<std::wstring> next(files.size());
    FilesByName byCurrent;
    FilesByName byNext;
    byCurrent.reserve(files.size());
    byNext.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        current[i] = AsciiLowercase(files[i].path);
        next[i] = AsciiLowercase(files[i].newPath);
        byCurrent[current[i]].push_back(i);
        if (next[i] != current[i])
            byNext[next[i]].push_back(i);
    }
    std::vector<std::string> clashes(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const std::vector<size_t>& sameFile = byCurrent[current[i]];
        if (sameFile.size() > 1) {
            clashes[i] = "given more than once in this batch";
            continue;
        }
        if (next[i] == current[i])
            continue;
        const std::string newName = ToUtf8(files[i].newPath);
        if (byCurrent.contains(next[i])) {
            clashes[i] = "the new name " + newName + " is the name of another file of this batch";
            continue;
        }
        const std::vector<size_t>& sameName = byNext[next[i]];
        if (sameName.size() > 1)
            clashes[i] = "the new name " + newName + " is also the new name of " +
                         ToUtf8(files[OtherThan(sameName, i)].path);
    }
    return clashes;
}
