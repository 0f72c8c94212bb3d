#include "campaign/FileReadFailure.h"

std::optional<std::wstring> SystemReadReason(FileSystem& files, const std::wstring& path) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file = files.Open(path, OpenMode::ReadShared, status);
    if (file) {
        char byte;
        size_t got = 0;
        status = file->Read(&byte, 1, got);
    }
    if (status)
        return std::nullopt;
    return status.error;
}

std::optional<ReadFailure> ReadFailureOf(FileSystem& files, const std::wstring& path,
                                         const StationHeader& header,
                                         const std::vector<ReaderMessage>& messages) {
    if (header.headerLoaded)
        return std::nullopt;
    ReadFailure failure;
    if (std::optional<std::wstring> reason = SystemReadReason(files, path))
        failure.systemReason = std::move(*reason);
    else
        failure.messages = messages;
    return failure;
}

CheckedFile ReadCheckedFile(FileSystem& files, const std::wstring& path,
                            const AntennaCatalogue& catalogue, const HeaderReadOptions& options) {
    CheckedFile file{path, {}, {}};
    const std::vector<ReaderMessage> messages =
        ReadStationHeader(path, catalogue, file.header, options).Messages();
    file.failure = ReadFailureOf(files, path, file.header, messages);
    return file;
}
