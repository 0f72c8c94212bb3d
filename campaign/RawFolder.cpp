#include "campaign/RawFolder.h"

#include <algorithm>
#include <cstddef>
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

// The first eight bytes of a text as one number that sorts as they do, zeros after a shorter one.
uint64_t LeadingBytes(std::string_view text) {
    uint64_t bytes = 0;
    for (size_t i = 0; i < sizeof bytes; ++i)
        bytes = bytes << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    return bytes;
}

// The order of the names by their comparison forms, made once each rather than at each of the
// comparisons of a folder of thousands of files; packed texts sort as their wide texts, and most
// comparisons end in their leading bytes.
std::vector<uint32_t> OrderByName(const PackedTexts& names, const PackedTexts& keys) {
    struct Prepared {
        uint64_t leading;
        uint32_t index;
    };
    std::vector<Prepared> prepared(names.size());
    for (uint32_t i = 0; i < prepared.size(); ++i)
        prepared[i] = {LeadingBytes(keys[i]), i};
    std::sort(prepared.begin(), prepared.end(), [&](const Prepared& a, const Prepared& b) {
        if (a.leading != b.leading)
            return a.leading < b.leading;
        const int byKey = keys[a.index].compare(keys[b.index]);
        return byKey != 0 ? byKey < 0 : names[a.index] < names[b.index];
    });
    std::vector<uint32_t> order(prepared.size());
    for (size_t i = 0; i < prepared.size(); ++i)
        order[i] = prepared[i].index;
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

// Most systems tell names apart as they are: their comparison forms are kept only from the first
// name whose form differs.
FolderNames FolderEntriesByName(const std::wstring& folder, FileStatus& status) {
    FolderNames entries;
    PackedTexts keys;
    bool keysDiffer = false;
    status = ListFolder(folder.empty() ? L"." : folder, [&](std::wstring_view name, bool isFolder) {
        const std::wstring key = FileNameForComparison(name);
        if (!keysDiffer && key != name) {
            keysDiffer = true;
            keys = entries.names_;
        }
        entries.names_.Add(name);
        if (keysDiffer)
            keys.Add(key);
        entries.folders_.push_back(isFolder);
    });
    entries.order_ = OrderByName(entries.names_, keysDiffer ? keys : entries.names_);
    return entries;
}

std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == kDirectorySeparator)
        return folder + name;
    return folder + kDirectorySeparator + name;
}
