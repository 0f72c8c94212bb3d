#include "header/RawFileRewrite.h"

#include <memory>

namespace {

RewriteOutcome OpenFailed(const FileStatus& status, const RewriteRequest& request) {
    return {false, status.error, request.currentPath, request.headerRegionLength};
}

RewriteOutcome Failed(const FileStatus& status, const RewriteRequest& request) {
    return {true, status.error, request.currentPath, request.headerRegionLength};
}

RewriteOutcome RewriteInPlace(FileSystem& files, const RewriteRequest& request, bool renaming,
                              bool sameFile) {
    FileStatus status;
    std::unique_ptr<OpenedFile> file =
        files.Open(request.currentPath, OpenMode::ReadWriteExisting, status);
    if (!file)
        return OpenFailed(status, request);
    if (status = file->Write(request.headerText); !status)
        return Failed(status, request);
    if (status = file->Flush(); !status)
        return Failed(status, request);
    if (status = file->Close(); !status)
        return Failed(status, request);
    if (renaming) {
        status =
            files.Rename(request.currentPath, request.newPath, request.replaceExisting || sameFile);
        if (!status)
            return Failed(status, request);
    }
    return {true, {}, renaming ? request.newPath : request.currentPath, request.headerRegionLength};
}

FileStatus CopyData(OpenedFile& source, OpenedFile& target, int32_t from) {
    if (FileStatus status = source.Seek(static_cast<uint64_t>(from)); !status)
        return status;
    return target.CopyFrom(source);
}

// Writes the whole new file beside the old one; both are closed when it returns.
FileStatus WriteCopy(FileSystem& files, const RewriteRequest& request, const std::wstring& copyPath,
                     bool& opened) {
    FileStatus status;
    std::unique_ptr<OpenedFile> source =
        files.Open(request.currentPath, OpenMode::ReadExisting, status);
    if (!source) {
        opened = false;
        return status;
    }
    std::unique_ptr<OpenedFile> copy = files.Open(copyPath, OpenMode::CreateForWrite, status);
    if (!copy) {
        opened = false;
        return status;
    }
    if (status = copy->Write(request.headerText); !status)
        return status;
    if (status = CopyData(*source, *copy, request.headerRegionLength); !status)
        return status;
    if (status = copy->Flush(); !status)
        return status;
    if (status = source->Close(); !status)
        return status;
    return copy->Close();
}

RewriteOutcome RewriteThroughCopy(FileSystem& files, const RewriteRequest& request, bool renaming,
                                  bool sameFile) {
    const std::wstring copyPath = request.currentPath + L".tmp";
    bool opened = true;
    const FileStatus written = WriteCopy(files, request, copyPath, opened);
    if (!opened)
        return OpenFailed(written, request);
    if (!written) {
        files.Delete(copyPath);
        return Failed(written, request);
    }
    const std::wstring& target = renaming ? request.newPath : request.currentPath;
    const bool replace = request.replaceExisting || !renaming || sameFile;
    if (FileStatus moved = files.Rename(copyPath, target, replace); !moved) {
        files.Delete(copyPath);
        return Failed(moved, request);
    }
    const auto newLength = static_cast<int32_t>(request.headerText.size());
    if (renaming && !sameFile) {
        // The new file is in place; only now may the old one go.
        if (FileStatus removed = files.Delete(request.currentPath); !removed)
            return {true, removed.error, request.newPath, newLength};
    }
    return {true, {}, target, newLength};
}

}  // namespace

bool NewPathNamesAnotherFile(FileSystem& files, const std::wstring& currentPath,
                             const std::wstring& newPath) {
    return newPath != currentPath && files.Exists(newPath) && !files.SameFile(currentPath, newPath);
}

RewriteOutcome RewriteRawFile(FileSystem& files, const RewriteRequest& request) {
    const bool renaming = request.newPath != request.currentPath;
    const bool sameFile = renaming && files.SameFile(request.currentPath, request.newPath);
    if (request.headerText.size() > static_cast<size_t>(request.headerRegionLength))
        return RewriteThroughCopy(files, request, renaming, sameFile);
    return RewriteInPlace(files, request, renaming, sameFile);
}
