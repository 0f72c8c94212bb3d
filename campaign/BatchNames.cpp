#include "campaign/BatchNames.h"

#include <unordered_map>

#include "header/AsciiText.h"

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

std::vector<NameClash> NameClashes(const std::vector<BatchFile>& files) {
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
    std::vector<NameClash> clashes(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const std::vector<size_t>& sameFile = byCurrent[current[i]];
        if (sameFile.size() > 1) {
            clashes[i].kind = NameClashKind::GivenTwice;
            continue;
        }
        if (next[i] == current[i])
            continue;
        if (byCurrent.contains(next[i])) {
            clashes[i] = {NameClashKind::NameOfAnotherFile, files[i].newPath, {}};
            continue;
        }
        const std::vector<size_t>& sameName = byNext[next[i]];
        if (sameName.size() > 1)
            clashes[i] = {NameClashKind::SameNewName, files[i].newPath,
                          files[OtherThan(sameName, i)].path};
    }
    return clashes;
}
