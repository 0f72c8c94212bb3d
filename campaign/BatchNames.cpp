#include "campaign/BatchNames.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "header/AsciiText.h"

namespace {

// Names compared as Windows compares them, ASCII letters without regard to case.
struct FoldedHash {
    size_t operator()(std::wstring_view name) const {
        uint64_t hash = 14695981039346656037ULL;
        for (wchar_t c : name) {
            hash ^= static_cast<uint64_t>(ToAsciiLower(c));
            hash *= 1099511628211ULL;
        }
        return static_cast<size_t>(hash);
    }
};

struct FoldedEqual {
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](wchar_t x, wchar_t y) { return ToAsciiLower(x) == ToAsciiLower(y); });
    }
};

template <typename Value>
using ByName = std::unordered_map<std::wstring_view, Value, FoldedHash, FoldedEqual>;

// Another file of `sharing` than `self`, or `self` when there is none.
size_t OtherThan(const std::vector<size_t>& sharing, size_t self) {
    for (size_t other : sharing) {
        if (other != self)
            return other;
    }
    return self;
}

bool Renames(const BatchFile& file) {
    return !file.newPath.empty() && !FoldedEqual{}(file.newPath, file.path);
}

}  // namespace

std::vector<NameClash> NameClashes(const std::vector<BatchFile>& files) {
    ByName<size_t> timesGiven;
    // Only the files that are renamed: most batches rename none or few.
    ByName<std::vector<size_t>> byNewName;
    timesGiven.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        ++timesGiven[files[i].path];
        if (Renames(files[i]))
            byNewName[files[i].newPath].push_back(i);
    }
    std::vector<NameClash> clashes(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const BatchFile& file = files[i];
        if (timesGiven.at(file.path) > 1) {
            clashes[i].kind = NameClashKind::GivenTwice;
            continue;
        }
        if (!Renames(file))
            continue;
        if (timesGiven.contains(file.newPath)) {
            clashes[i] = {NameClashKind::NameOfAnotherFile, std::wstring(file.newPath), {}};
            continue;
        }
        const std::vector<size_t>& sameName = byNewName.at(file.newPath);
        if (sameName.size() > 1)
            clashes[i] = {NameClashKind::SameNewName, std::wstring(file.newPath),
                          std::wstring(files[OtherThan(sameName, i)].path)};
    }
    return clashes;
}
