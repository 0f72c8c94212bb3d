#include "campaign/RawFolder.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string_view>
#include <utility>

#include "platform/DirectorySeparator.h"
#include "platform/FileNameCase.h"
#include "platform/FolderListing.h"

namespace {

constexpr std::wstring_view kRawFileExtension = L".tzr";

bool IsRawFileName(std::wstring_view name) {
    if (name.size() < kRawFileExtension.size())
        return false;
    return std::equal(kRawFileExtension.begin(), kRawFileExtension.end(),
                      name.end() - static_cast<std::ptrdiff_t>(kRawFileExtension.size()),
                      [](wchar_t wanted, wchar_t c) {
                          return wanted == (c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
                      });
}

// Packed texts one after another, each found by its end.
struct PackedTexts {
    std::string bytes;
    std::vector<uint32_t> ends;

    void Add(std::wstring_view text) {
        AppendPacked(text, bytes);
        ends.push_back(static_cast<uint32_t>(bytes.size()));
    }
    std::string_view operator[](size_t index) const {
        const size_t start = index == 0 ? 0 : ends[index - 1];
        return std::string_view(bytes).substr(start, ends[index] - start);
    }
};

// The order of the names by their comparison forms, made once each rather than at each of the
// comparisons of a folder of thousands of files; packed texts sort as their wide texts.
std::vector<uint32_t> OrderByName(const PackedTexts& names, const PackedTexts& keys) {
    std::vector<uint32_t> order(names.ends.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    return order;
}

class Walk {
  public:
    Walk(bool recursive, FileList& files) : recursive_(recursive), files_(files) {}

    RawFolderWalk From(const std::wstring& folder) && {
        const FolderNames entries = FolderEntriesByName(folder, found_.status);
        if (!found_.status)
            return std::move(found_);
        for (size_t i = 0; i < entries.size() && !found_.hasSubfolders; ++i)
            found_.hasSubfolders = entries.Folder(i);
        AddFrom(folder, entries);
        return std::move(found_);
    }

  private:
    void AddFrom(const std::wstring& folder, const FolderNames& entries) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries.Folder(i))
                continue;
            entries.NameInto(i, name_);
            if (IsRawFileName(name_))
                files_.AddInFolder(folder, name_);
        }
        if (!recursive_)
            return;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (!entries.Folder(i))
                continue;
            entries.NameInto(i, name_);
            AddSubfolder(PathInFolder(folder, name_));
        }
    }

    void AddSubfolder(const std::wstring& folder) {
        FileStatus status;
        const FolderNames entries = FolderEntriesByName(folder, status);
        if (!status) {
            found_.unlisted.push_back({folder, std::move(status.error)});
            return;
        }
        AddFrom(folder, entries);
    }

    const bool recursive_;
    FileList& files_;
    RawFolderWalk found_;
    std::wstring name_;
};

}  // namespace

RawFolder RawFilesInFolder(const std::wstring& folder, bool recursive) {
    FileList files;
    RawFolder found{AddRawFilesInFolder(folder, recursive, files), {}};
    found.files = files;
    return found;
}

RawFolderWalk AddRawFilesInFolder(const std::wstring& folder, bool recursive, FileList& files) {
    return Walk(recursive, files).From(folder);
}

void FolderNames::NameInto(size_t index, std::wstring& name) const {
    const size_t start = index == 0 ? 0 : ends_[index - 1];
    name.clear();
    AppendUnpacked(std::string_view(names_).substr(start, ends_[index] - start), name);
}

FolderNames FolderEntriesByName(const std::wstring& folder, FileStatus& status) {
    PackedTexts names;
    PackedTexts keys;
    std::vector<bool> folders;
    status = ListFolder(folder.empty() ? L"." : folder, [&](std::wstring_view name, bool isFolder) {
        names.Add(name);
        keys.Add(FileNameForComparison(name));
        folders.push_back(isFolder);
    });
    const std::vector<uint32_t> order = OrderByName(names, keys);
    keys = {};
    FolderNames sorted;
    sorted.names_.reserve(names.bytes.size());
    sorted.ends_.reserve(names.ends.size());
    sorted.folders_.reserve(folders.size());
    for (const uint32_t index : order) {
        sorted.names_ += names[index];
        sorted.ends_.push_back(static_cast<uint32_t>(sorted.names_.size()));
        sorted.folders_.push_back(folders[index]);
    }
    return sorted;
}

std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == kDirectorySeparator)
        return folder + name;
    return folder + kDirectorySeparator + name;
}
