#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One file of a batch: its path now, and the path its save gives it (empty, or the same, when it
// keeps its name). Views of the caller's paths, so that a batch of many files holds each once.
struct BatchFile {
    std::wstring_view path;
    std::wstring_view newPath;
};

enum class NameClashKind {
    None,
    // The file is given more than once in the batch.
    GivenTwice,
    // Its new name is the name of another file of the batch.
    NameOfAnotherFile,
    // Its new name is also the new name of `other`.
    SameNewName,
};

// Why a file's save may not run in its batch.
struct NameClash {
    NameClashKind kind = NameClashKind::None;
    // The name the file would get; empty when it is given twice.
    std::wstring newPath;
    // The other file that is to get the same new name; empty for the other kinds.
    std::wstring other;

    explicit operator bool() const { return kind != NameClashKind::None; }
};

// For each file, why its save may not run in this batch, or no clash. A file may not take the
// new name of another file or the name of another file of the batch, whichever would be saved
// first, and no file may be given twice. Names compare as Windows compares them, without regard
// to letter case. The files are sorted by path once, which takes four bytes a file.
std::vector<NameClash> NameClashes(const std::vector<BatchFile>& files);
// The same clashes, only those of the files that have one, by the file's index in order: a batch
// of thousands of files of which few clash.
std::vector<std::pair<size_t, NameClash>> ClashingFiles(const std::vector<BatchFile>& files);
