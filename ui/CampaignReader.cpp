#include "ui/CampaignReader.h"

#include <algorithm>
#include <utility>

#include "campaign/FileReadFailure.h"
#include "campaign/RawFolder.h"
#include "platform/FolderListing.h"

namespace {

constexpr auto kPostInterval = std::chrono::milliseconds(50);

}  // namespace

void ReadQueue::Push(CheckedFile file) {
    const std::lock_guard lock(mutex_);
    files_.push_back(std::move(file));
    ++sincePost_;
    ++read_;
    // Each batch costs the window a new count of items in its list view, which takes Wine tens
    // of milliseconds, and a look at the whole campaign. So a batch is at least as large as all
    // the batches before it: ten thousand files come in a dozen batches, the first rows at once.
    if (sincePost_ >= posted_ && std::chrono::steady_clock::now() - lastPost_ >= kPostInterval)
        Post();
}

void ReadQueue::Flush() {
    const std::lock_guard lock(mutex_);
    Post();
}

void ReadQueue::Post() {
    posted_ += sincePost_;
    sincePost_ = 0;
    lastPost_ = std::chrono::steady_clock::now();
    PostMessageW(window_, message_, 0, 0);
}

std::deque<CheckedFile> ReadQueue::Take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(files_, {});
}

std::vector<std::wstring> RawFilesNamed(const std::vector<std::wstring>& paths,
                                        std::vector<CheckedFile>& unlisted) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        if (!IsFolder(path)) {
            files.push_back(path);
            continue;
        }
        RawFolder folder = RawFilesInFolder(path, false);
        // A folder that cannot be listed is a row with the system's reason, as a file is.
        if (!folder.status)
            unlisted.push_back({path, {}, ReadFailure{folder.status.error, {}}});
        files.insert(files.end(), std::make_move_iterator(folder.files.begin()),
                     std::make_move_iterator(folder.files.end()));
    }
    return files;
}

void ReadRawFiles(const std::vector<std::wstring>& paths, const AntennaCatalogue& catalogue,
                  const HeaderReadOptions& options, FileSystem& files,
                  const std::atomic<bool>& cancelled, ReadQueue& queue) {
    std::vector<CheckedFile> unlisted;
    std::vector<std::wstring> rawFiles = RawFilesNamed(paths, unlisted);
    queue.SetTotal(rawFiles.size() + unlisted.size());
    for (CheckedFile& folder : unlisted)
        queue.Push(std::move(folder));
    unlisted = {};
    for (std::wstring& path : rawFiles) {
        if (cancelled)
            break;
        // Each path goes once its file is read, which keeps a copy: ten thousand paths are
        // held once, not twice, by the end of the reading.
        queue.Push(ReadCheckedFile(files, std::exchange(path, {}), catalogue, options));
    }
    queue.Flush();
}
