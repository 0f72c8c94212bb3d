#include "campaign/TakeBack.h"

#include <vector>

namespace {

bool StartsWith(const std::optional<FileSnapshot>& snapshot, const std::string& header) {
    return snapshot && !header.empty() && snapshot->headerRegion == header;
}

// A write in place that stopped half-way leaves each byte as it was or as it was to become.
bool IsTornBetween(const FileSnapshot& snapshot, const JournalFile& file) {
    const std::string& region = snapshot.headerRegion;
    if (snapshot.identity != file.identity || snapshot.size != file.size || file.size == 0 ||
        region.size() != file.oldHeader.size() || region.size() != file.newHeader.size())
        return false;
    for (size_t i = 0; i < region.size(); ++i) {
        if (region[i] != file.oldHeader[i] && region[i] != file.newHeader[i])
            return false;
    }
    return true;
}

// Whether two files hold the same bytes after their header regions.
bool SameObservationData(FileSystem& files, const std::wstring& first, size_t firstRegion,
                         const std::wstring& second, size_t secondRegion) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> a = files.Open(first, OpenMode::ReadShared, status);
    const std::unique_ptr<OpenedFile> b = files.Open(second, OpenMode::ReadShared, status);
    FileFacts aFacts, bFacts;
    if (!a || !b || !a->Facts(aFacts) || !b->Facts(bFacts) || aFacts.size < firstRegion ||
        bFacts.size < secondRegion || aFacts.size - firstRegion != bFacts.size - secondRegion ||
        !a->Seek(firstRegion) || !b->Seek(secondRegion))
        return false;
    std::string aBlock, bBlock;
    for (;;) {
        if (!ReadUpTo(*a, kFileBlockSize, aBlock) || !ReadUpTo(*b, kFileBlockSize, bBlock) ||
            aBlock != bBlock)
            return false;
        if (aBlock.empty())
            return true;
    }
}

TakeBackPlan Plan(TakeBackAction action, const std::wstring& from, const JournalFile& file,
                  const std::optional<FileSnapshot>& snapshot = std::nullopt) {
    TakeBackPlan plan{action, from, {}, file};
    if (snapshot)
        plan.restore = {from, file.oldPath, file.oldHeader, *snapshot, false, true};
    return plan;
}

}  // namespace

TakeBackPlan PlanTakeBack(FileSystem& files, const JournalFile& file) {
    std::vector<std::wstring> places = {file.newPath};
    if (file.oldPath != file.newPath)
        places.push_back(file.oldPath);
    const std::optional<FileSnapshot> atOld =
        TakeSnapshot(files, file.oldPath, file.oldHeader.size());
    const bool oldAsBefore = StartsWith(atOld, file.oldHeader);
    for (const std::wstring& place : places) {
        const std::optional<FileSnapshot> snapshot =
            TakeSnapshot(files, place, file.newHeader.size());
        if (!StartsWith(snapshot, file.newHeader))
            continue;
        if (place != file.oldPath && oldAsBefore &&
            SameObservationData(files, place, file.newHeader.size(), file.oldPath,
                                file.oldHeader.size()))
            return Plan(TakeBackAction::RemoveLeftover, place, file);
        return Plan(TakeBackAction::Restore, place, file, snapshot);
    }
    if (oldAsBefore)
        return Plan(TakeBackAction::AsBefore, file.oldPath, file);
    if (file.newPath != file.oldPath) {
        const std::optional<FileSnapshot> restoredNotRenamed =
            TakeSnapshot(files, file.newPath, file.oldHeader.size());
        if (StartsWith(restoredNotRenamed, file.oldHeader))
            return Plan(TakeBackAction::Restore, file.newPath, file, restoredNotRenamed);
    }
    for (const std::wstring& place : places) {
        const std::optional<FileSnapshot> snapshot =
            TakeSnapshot(files, place, file.oldHeader.size());
        if (snapshot && IsTornBetween(*snapshot, file))
            return Plan(TakeBackAction::Restore, place, file, snapshot);
    }
    for (const std::wstring& place : places) {
        if (files.Exists(place))
            return Plan(TakeBackAction::ChangedSince, place, file);
    }
    return Plan(TakeBackAction::Missing, file.newPath, file);
}
