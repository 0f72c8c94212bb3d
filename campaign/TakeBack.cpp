#include "campaign/TakeBack.h"

#include <algorithm>
#include <vector>

namespace {

bool Holds(const FileSnapshot& snapshot, const std::string& header) {
    return !header.empty() && snapshot.headerRegion.size() >= header.size() &&
           snapshot.headerRegion.compare(0, header.size(), header) == 0;
}

// A write in place that stopped half-way leaves each byte as it was or as it was to become.
bool IsTornBetween(const FileSnapshot& snapshot, const JournalFile& file) {
    const std::string& region = snapshot.headerRegion;
    const size_t size = file.oldHeader.size();
    if (snapshot.identity != file.identity || snapshot.size != file.size || file.size == 0 ||
        size != file.newHeader.size() || region.size() < size)
        return false;
    for (size_t i = 0; i < size; ++i) {
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

// The snapshot a restore starts from: exactly the header region it replaces.
FileSnapshot Region(const FileSnapshot& snapshot, size_t size) {
    return {snapshot.identity, snapshot.headerRegion.substr(0, size), snapshot.size};
}

// Whether `copy` holds a beginning of `header` followed by the live file's data, and no more.
bool IsBeginningOfCopy(OpenedFile& copy, const std::string& header, OpenedFile& live,
                       size_t region) {
    std::string block;
    if (!ReadUpTo(copy, header.size(), block) || header.compare(0, block.size(), block) != 0)
        return false;
    if (block.size() < header.size())
        return true;
    if (!live.Seek(region))
        return false;
    std::string liveBlock;
    for (;;) {
        if (!ReadUpTo(copy, kFileBlockSize, block))
            return false;
        if (block.empty())
            return true;
        if (!ReadUpTo(live, block.size(), liveBlock) || liveBlock != block)
            return false;
    }
}

// Why a name that could not be read may still stand for the file; nothing when the system says
// no such file. A name it cannot look up (too long, no permission on a folder) is no missing file.
std::optional<std::wstring> WhyUnreadable(FileSystem& files, const std::wstring& path) {
    FileStatus status;
    const bool opened = files.Open(path, OpenMode::ReadShared, status) != nullptr;
    if (!opened && status.fault == FileFault::Missing && !files.Exists(path))
        return std::nullopt;
    return status.error;
}

TakeBackPlan Plan(TakeBackAction action, const std::wstring& from, const JournalFile& file) {
    return {action, from, {}, file, {}};
}

TakeBackPlan Restore(const std::wstring& from, const JournalFile& file,
                     const FileSnapshot& snapshot, size_t region) {
    TakeBackPlan plan{TakeBackAction::Restore, from, {}, file, {}};
    plan.restore = {from, file.oldPath, file.oldHeader, Region(snapshot, region), false, true};
    return plan;
}

}  // namespace

TakeBackPlan PlanTakeBack(FileSystem& files, const JournalFile& file) {
    std::vector<std::wstring> places = {file.newPath};
    if (file.oldPath != file.newPath)
        places.push_back(file.oldPath);
    // What each place holds; a file that exists but cannot be read is no finding about it.
    const size_t longest = std::max(file.oldHeader.size(), file.newHeader.size());
    std::vector<std::optional<FileSnapshot>> held;
    for (const std::wstring& place : places) {
        held.push_back(TakeSnapshot(files, place, longest));
        if (held.back())
            continue;
        if (std::optional<std::wstring> why = WhyUnreadable(files, place)) {
            TakeBackPlan plan = Plan(TakeBackAction::Unreadable, place, file);
            plan.readError = std::move(*why);
            return plan;
        }
    }
    const std::optional<FileSnapshot>& atOld = held.back();
    const bool oldAsBefore = atOld && Holds(*atOld, file.oldHeader);
    for (size_t i = 0; i < places.size(); ++i) {
        if (!held[i] || !Holds(*held[i], file.newHeader))
            continue;
        if (places[i] != file.oldPath && oldAsBefore &&
            SameObservationData(files, places[i], file.newHeader.size(), file.oldPath,
                                file.oldHeader.size()))
            return Plan(TakeBackAction::RemoveLeftover, places[i], file);
        return Restore(places[i], file, *held[i], file.newHeader.size());
    }
    if (oldAsBefore)
        return Plan(TakeBackAction::AsBefore, file.oldPath, file);
    // An undo that put the old header back but could not give back the name.
    if (places.size() > 1 && held[0] && Holds(*held[0], file.oldHeader))
        return Restore(places[0], file, *held[0], file.oldHeader.size());
    for (size_t i = 0; i < places.size(); ++i) {
        if (held[i] && IsTornBetween(*held[i], file))
            return Restore(places[i], file, *held[i], file.oldHeader.size());
    }
    for (size_t i = 0; i < places.size(); ++i) {
        if (held[i])
            return Plan(TakeBackAction::ChangedSince, places[i], file);
    }
    return Plan(TakeBackAction::Missing, file.newPath, file);
}

std::vector<std::wstring> RemoveStoppedCopies(FileSystem& files, const JournalFile& file) {
    std::vector<std::wstring> removed;
    // Looking for the names first: most files of a batch have no copy beside them.
    std::vector<std::wstring> copies = TakenCopyNames(files, file.oldPath);
    if (file.newPath != file.oldPath) {
        for (std::wstring& name : TakenCopyNames(files, file.newPath))
            copies.push_back(std::move(name));
    }
    if (copies.empty())
        return removed;
    const size_t longest = std::max(file.oldHeader.size(), file.newHeader.size());
    std::wstring live;
    size_t region = 0;
    for (const auto& [place, header] :
         {std::pair{file.oldPath, file.oldHeader}, std::pair{file.newPath, file.newHeader}}) {
        const std::optional<FileSnapshot> held = TakeSnapshot(files, place, longest);
        if (live.empty() && held && Holds(*held, header)) {
            live = place;
            region = header.size();
        }
    }
    if (live.empty())
        return removed;
    for (const std::wstring& copyPath : copies) {
        FileStatus status;
        // Held exclusively, and never a link: a copy that a running save still writes is not
        // touched.
        std::unique_ptr<OpenedFile> copy = files.Open(copyPath, OpenMode::Rewrite, status);
        if (!copy)
            continue;
        bool stopped = false;
        for (const std::string* header : {&file.oldHeader, &file.newHeader}) {
            std::unique_ptr<OpenedFile> source = files.Open(live, OpenMode::ReadShared, status);
            if (!stopped && source && copy->Seek(0) &&
                IsBeginningOfCopy(*copy, *header, *source, region))
                stopped = true;
        }
        copy.reset();
        if (stopped && files.Delete(copyPath))
            removed.push_back(copyPath);
    }
    return removed;
}
