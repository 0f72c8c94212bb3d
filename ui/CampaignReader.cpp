#include "ui/CampaignReader.h"

#include <algorithm>
#include <utility>

#include "campaign/FileReadFailure.h"
#include "platform/DirectorySeparator.h"
#include "platform/FileNameCase.h"
#include "platform/FolderListing.h"

namespace {

constexpr size_t kFilesPerPost = 200;
constexpr auto kPostInterval = std::chrono::milliseconds(50);

// Raw files keep their extension in whatever case a copy tool left it.
bool IsRawFileName(const std::wstring& name) {
    return name.size() > 4 &&
           FileNameForComparison(name.substr(name.size() - 4)) == FileNameForComparison(L".TZR");
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == kDirectorySeparator)
        return folder + name;
    return folder + kDirectorySeparator + name;
}

std::vector<std::wstring> RawFilesInFolder(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    ListFolder(folder, entries);
    std::vector<std::pair<std::wstring, std::wstring>> named;
    for (const FolderEntry& entry : entries) {
        if (!entry.folder && IsRawFileName(entry.name))
            named.emplace_back(FileNameForComparison(entry.name), entry.name);
    }
    std::sort(named.begin(), named.end());
    std::vector<std::wstring> files;
    files.reserve(named.size());
    for (const auto& [key, name] : named)
        files.push_back(InFolder(folder, name));
    return files;
}

}  // namespace

void ReadQueue::Push(CheckedFile file) {
    const std::lock_guard lock(mutex_);
    files_.push_back(std::move(file));
    ++sincePost_;
    const auto now = std::chrono::steady_clock::now();
    if (sincePost_ >= kFilesPerPost || now - lastPost_ >= kPostInterval)
        Post();
}

void ReadQueue::Flush() {
    const std::lock_guard lock(mutex_);
    Post();
}

void ReadQueue::Post() {
    sincePost_ = 0;
    lastPost_ = std::chrono::steady_clock::now();
    PostMessageW(window_, message_, 0, 0);
}

std::vector<CheckedFile> ReadQueue::Take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(files_, {});
}

std::vector<std::wstring> RawFilesNamed(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        if (!IsFolder(path)) {
            files.push_back(path);
            continue;
        }
        std::vector<std::wstring> inFolder = RawFilesInFolder(path);
        files.insert(files.end(), std::make_move_iterator(inFolder.begin()),
                     std::make_move_iterator(inFolder.end()));
    }
    return files;
}

void ReadRawFiles(const std::vector<std::wstring>& paths, const AntennaCatalogue& catalogue,
                  const HeaderReadOptions& options, FileSystem& files,
                  const std::atomic<bool>& cancelled, ReadQueue& queue) {
    const std::vector<std::wstring> rawFiles = RawFilesNamed(paths);
    queue.SetTotal(rawFiles.size());
    for (const std::wstring& path : rawFiles) {
        if (cancelled)
            break;
        queue.Push(ReadCheckedFile(files, path, catalogue, options));
    }
    queue.Flush();
}
