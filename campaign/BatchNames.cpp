#include "campaign/BatchNames.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <utility>

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

bool FoldedLess(std::wstring_view a, std::wstring_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](wchar_t x, wchar_t y) { return ToAsciiLower(x) < ToAsciiLower(y); });
}

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

std::vector<std::pair<size_t, NameClash>> ClashingFiles(const std::vector<BatchFile>& files) {
    // The files by path, four bytes a file where a table of the paths would take some fifty.
    std::vector<uint32_t> byPath(files.size());
    std::iota(byPath.begin(), byPath.end(), 0);
    std::sort(byPath.begin(), byPath.end(),
              [&](uint32_t a, uint32_t b) { return FoldedLess(files[a].path, files[b].path); });
    std::vector<bool> givenTwice(files.size());
    for (size_t k = 1; k < byPath.size(); ++k) {
        if (FoldedEqual{}(files[byPath[k - 1]].path, files[byPath[k]].path))
            givenTwice[byPath[k - 1]] = givenTwice[byPath[k]] = true;
    }
    const auto isGiven = [&](std::wstring_view path) {
        const auto at = std::lower_bound(byPath.begin(), byPath.end(), path,
                                         [&](uint32_t index, std::wstring_view wanted) {
                                             return FoldedLess(files[index].path, wanted);
                                         });
        return at != byPath.end() && FoldedEqual{}(files[*at].path, path);
    };
    // Only the files that are renamed: most batches rename none or few.
    ByName<std::vector<size_t>> byNewName;
    for (size_t i = 0; i < files.size(); ++i) {
        if (Renames(files[i]))
            byNewName[files[i].newPath].push_back(i);
    }
    std::vector<std::pair<size_t, NameClash>> clashes;
    for (size_t i = 0; i < files.size(); ++i) {
        const BatchFile& file = files[i];
        if (givenTwice[i]) {
            clashes.emplace_back(i, NameClash{NameClashKind::GivenTwice, {}, {}});
            continue;
        }
        if (!Renames(file))
            continue;
        if (isGiven(file.newPath)) {
            clashes.emplace_back(
                i, NameClash{NameClashKind::NameOfAnotherFile, std::wstring(file.newPath), {}});
            continue;
        }
        const std::vector<size_t>& sameName = byNewName.at(file.newPath);
        if (sameName.size() > 1)
            clashes.emplace_back(i,
                                 NameClash{NameClashKind::SameNewName, std::wstring(file.newPath),
                                           std::wstring(files[OtherThan(sameName, i)].path)});
    }
    return clashes;
}

std::vector<NameClash> NameClashes(const std::vector<BatchFile>& files) {
    std::vector<NameClash> clashes(files.size());
    for (auto& [index, clash] : ClashingFiles(files))
        clashes[index] = std::move(clash);
    return clashes;
}
