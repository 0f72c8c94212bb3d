#include "ui/BatchJobs.h"

#include <memory>

#include "campaign/FileReadFailure.h"
#include "platform/FileNameCase.h"

namespace {

class CollectingSetListener : public SetBatchListener {
  public:
    CollectingSetListener(std::vector<SetFileResult>& files, std::atomic<size_t>& done)
        : files_(files), done_(done) {}
    void Done(size_t index, const SetFileResult& result) override {
        if (index < files_.size())
            files_[index] = result;
        ++done_;
    }

  private:
    std::vector<SetFileResult>& files_;
    std::atomic<size_t>& done_;
};

class CollectingUndoListener : public UndoBatchListener {
  public:
    CollectingUndoListener(std::vector<UndoFileResult>& files, std::atomic<size_t>& done)
        : files_(files), done_(done) {}
    void Done(const UndoFileResult& result) override {
        files_.push_back(result);
        ++done_;
    }

  private:
    std::vector<UndoFileResult>& files_;
    std::atomic<size_t>& done_;
};

}  // namespace

SavedBatch SaveBatch(const SetBatchRequest& request, const std::vector<size_t>& rows,
                     const AntennaCatalogue& catalogue, const HeaderReadOptions& options,
                     std::atomic<size_t>& done) {
    SavedBatch saved;
    saved.files.resize(request.files.size());
    CollectingSetListener listener(saved.files, done);
    saved.result = RunSetBatch(request, catalogue, listener);
    if (request.dryRun)
        return saved;
    for (size_t i = 0; i < saved.files.size() && i < rows.size(); ++i) {
        const SetFileResult& file = saved.files[i];
        if (!file.Writes())
            continue;
        const std::wstring& path = file.newPath.empty() ? request.files[i] : file.newPath;
        saved.reread.push_back(
            {rows[i], ReadCheckedFile(*request.fileSystem, path, catalogue, options)});
    }
    return saved;
}

TakenBackBatch TakeBackBatch(FileSystem& files, const std::wstring& journalPath,
                             const std::string& id, BatchInfo undo,
                             const std::map<std::wstring, size_t>& rowsByPath,
                             const AntennaCatalogue& catalogue, const HeaderReadOptions& options,
                             std::atomic<size_t>& done) {
    TakenBackBatch taken;
    const std::unique_ptr<UndoJournal> journal =
        UndoJournal::Open(files, journalPath, true, taken.access, taken.error);
    if (!journal)
        return taken;
    const BatchSummary* batch = journal->Target(id);
    if (batch == nullptr)
        return taken;
    CollectingUndoListener listener(taken.files, done);
    taken.result = journal->TakeBack(*batch, std::move(undo), false, listener, true);
    for (const UndoFileResult& file : taken.files) {
        if (file.status != UndoStatus::Restored)
            continue;
        const auto row = rowsByPath.find(FileNameForComparison(file.file));
        if (row == rowsByPath.end())
            continue;
        const std::wstring& path = file.newPath.empty() ? file.file : file.newPath;
        taken.reread.push_back({row->second, ReadCheckedFile(files, path, catalogue, options)});
    }
    return taken;
}
