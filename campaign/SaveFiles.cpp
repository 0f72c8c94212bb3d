#include "campaign/SaveFiles.h"

#include <map>

#include "platform/PathText.h"

namespace {

JournalFile JournalLineFor(const FileSave& save) {
    const RewriteRequest& request = save.request;
    const FileSnapshot& before = request.before;
    const std::string written =
        request.exactHeader ? request.headerText
                            : HeaderForRegion(request.headerText, before.headerRegion.size());
    return {save.number,     before.identity,     before.size, request.currentPath,
            request.newPath, before.headerRegion, written,     save.restores};
}

// Whether the save renames the file or replaces it with a copy, rather than writing over its
// header region in place.
bool ChangesFolder(const RewriteRequest& request) {
    const size_t region = request.before.headerRegion.size();
    const size_t written = request.exactHeader ? request.headerText.size()
                                               : HeaderForRegion(request.headerText, region).size();
    return request.newPath != request.currentPath || written != region;
}

}  // namespace

SavedGroup SaveFiles(FileSystem& files, std::span<const FileSave> saves, JournalWriter* journal) {
    SavedGroup group;
    if (journal != nullptr) {
        for (const FileSave& save : saves)
            journal->Intent(JournalLineFor(save));
        group.journalBefore = journal->Commit();
        if (!group.journalBefore) {
            for (const FileSave& save : saves)
                group.outcomes.push_back({RewriteRefusal::None, group.journalBefore.error,
                                          save.request.currentPath, save.request.before});
            return group;
        }
    }
    // A path of each folder that a file was renamed or replaced in. A header written in place
    // under the same name changes no folder, and a campaign of such edits flushes none.
    std::map<std::wstring, std::wstring> folders;
    for (const FileSave& save : saves) {
        RewriteRequest request = save.request;
        request.flushFolder = journal == nullptr;
        group.outcomes.push_back(RewriteRawFile(files, request));
        if (ChangesFolder(request))
            folders.emplace(DirectoryPartOf(request.newPath, kDirectorySeparator), request.newPath);
    }
    for (const auto& [folder, path] : folders) {
        if (journal == nullptr)
            break;
        if (FileStatus status = files.FlushFolderOf(path); !status && group.folders)
            group.folders = status;
    }
    if (journal == nullptr)
        return group;
    for (size_t i = 0; i < saves.size(); ++i) {
        const RewriteOutcome& outcome = group.outcomes[i];
        journal->Done(saves[i].number, JournalOutcomeOf(outcome), outcome.path,
                      outcome.after.identity, outcome.error);
    }
    if (FileStatus status = journal->Commit(); !status)
        group.journalAfter = status;
    return group;
}

RewriteOutcome SaveFile(FileSystem& files, const RewriteRequest& request) {
    const FileSave save{request};
    return SaveFiles(files, std::span(&save, 1), nullptr).outcomes.front();
}
