#include "campaign/RawFolder.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "platform/DirectorySeparator.h"
#include "platform/FileNameCase.h"

namespace {

constexpr std::wstring_view kRawFileExtension = L".tzr";

bool IsRawFileName(const std::wstring& name) {
    if (name.size() < kRawFileExtension.size())
        return false;
    return std::equal(kRawFileExtension.begin(), kRawFileExtension.end(),
                      name.end() - static_cast<std::ptrdiff_t>(kRawFileExtension.size()),
                      [](wchar_t wanted, wchar_t c) {
                          return wanted == (c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
                      });
}

// Each name's comparison form is made once, not at each of the comparisons of a folder of
// thousands of files.
void SortByName(std::vector<FolderEntry>& entries) {
    std::vector<std::pair<std::wstring, FolderEntry>> keyed;
    keyed.reserve(entries.size());
    for (FolderEntry& entry : entries)
        keyed.emplace_back(FileNameForComparison(entry.name), std::move(entry));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries[i] = std::move(keyed[i].second);
}

class RawFolderWalk {
  public:
    explicit RawFolderWalk(bool recursive) : recursive_(recursive) {}

    RawFolder Walk(const std::wstring& folder) && {
        const std::vector<FolderEntry> entries = FolderEntriesByName(folder, found_.status);
        if (!found_.status)
            return std::move(found_);
        found_.hasSubfolders = std::any_of(entries.begin(), entries.end(),
                                           [](const FolderEntry& entry) { return entry.folder; });
        AddFrom(folder, entries);
        return std::move(found_);
    }

  private:
    void AddFrom(const std::wstring& folder, const std::vector<FolderEntry>& entries) {
        for (const FolderEntry& entry : entries) {
            if (!entry.folder && IsRawFileName(entry.name))
                found_.files.push_back(PathInFolder(folder, entry.name));
        }
        if (!recursive_)
            return;
        for (const FolderEntry& entry : entries) {
            if (entry.folder)
                AddSubfolder(PathInFolder(folder, entry.name));
        }
    }

    void AddSubfolder(const std::wstring& folder) {
        FileStatus status;
        const std::vector<FolderEntry> entries = FolderEntriesByName(folder, status);
        if (!status) {
            found_.unlisted.push_back({folder, std::move(status.error)});
            return;
        }
        AddFrom(folder, entries);
    }

    const bool recursive_;
    RawFolder found_;
};

}  // namespace

RawFolder RawFilesInFolder(const std::wstring& folder, bool recursive) {
    return RawFolderWalk(recursive).Walk(folder);
}

std::vector<FolderEntry> FolderEntriesByName(const std::wstring& folder, FileStatus& status) {
    std::vector<FolderEntry> entries;
    status = ListFolder(folder.empty() ? L"." : folder, entries);
    SortByName(entries);
    return entries;
}

std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == kDirectorySeparator)
        return folder + name;
    return folder + kDirectorySeparator + name;
}
