#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "campaign/FileList.h"
#include "platform/FileSystem.h"

// A subfolder whose names could not be read, such as a system folder at a drive's root.
struct UnlistedFolder {
    std::wstring path;
    // Why, in the system's words.
    std::wstring error;
};

// What a walk through a folder met besides its raw files.
struct RawFolderWalk {
    // Whether the folder itself could be listed; when it could not, nothing else is filled.
    FileStatus status;
    // The subfolders passed over, in the order they were met; none stops the others.
    std::vector<UnlistedFolder> unlisted;
    // The folder has a subfolder, whose raw files a recursive walk would take.
    bool hasSubfolders = false;
};

// The raw files of one folder.
struct RawFolder : RawFolderWalk {
    // In name order, the files of each folder before those of its subfolders.
    std::vector<std::wstring> files;
};

// The raw files (.TZR, in any letter case, as copy tools leave it) in `folder`, and with
// `recursive` those in its subfolders, all the way down; a link to a folder is not followed.
RawFolder RawFilesInFolder(const std::wstring& folder, bool recursive);
// The same raw files, added to `files`, for a campaign of tens of thousands of files.
RawFolderWalk AddRawFilesInFolder(const std::wstring& folder, bool recursive, FileList& files);

// The names of one folder in the order the system sorts file names, held in one buffer.
class FolderNames {
  public:
    size_t size() const { return order_.size(); }
    // The name at `index` into `name`, whose buffer a loop over the folder reuses.
    void NameInto(size_t index, std::wstring& name) const { names_.TextInto(order_[index], name); }
    // Whether the name is a folder itself, a link to a folder not counted.
    bool Folder(size_t index) const { return folders_[order_[index]]; }

  private:
    friend FolderNames FolderEntriesByName(const std::wstring& folder, FileStatus& status);

    // As the system listed them; `order_` holds their numbers in name order.
    PackedTexts names_;
    std::vector<bool> folders_;
    std::vector<uint32_t> order_;
};

// The names in `folder` ("." when empty), sorted as the system orders file names.
FolderNames FolderEntriesByName(const std::wstring& folder, FileStatus& status);

// `name` in `folder`, with one separator between them.
std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name);
