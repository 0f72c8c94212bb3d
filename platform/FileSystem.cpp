#include "platform/FileSystem.h"

#include <algorithm>
#include <vector>

FileStatus OpenedFile::CopyFrom(OpenedFile& source) {
    std::vector<char> block(kFileBlockSize);
    for (;;) {
        size_t got = 0;
        if (FileStatus status = source.Read(block.data(), block.size(), got); !status)
            return status;
        if (got == 0)
            return FileStatus::Success();
        if (FileStatus status = Write(std::string_view(block.data(), got)); !status)
            return status;
    }
}

bool FileSystem::SameFile(const std::wstring& first, const std::wstring& second) {
    const std::optional<FileIdentity> firstIdentity = IdentityAt(first);
    return firstIdentity && firstIdentity == IdentityAt(second);
}

FileStatus ReadUpTo(OpenedFile& file, size_t limit, std::string& bytes) {
    bytes.clear();
    while (bytes.size() < limit) {
        const size_t offset = bytes.size();
        const size_t wanted = std::min(kFileBlockSize, limit - offset);
        bytes.resize(offset + wanted);
        size_t got = 0;
        const FileStatus status = file.Read(bytes.data() + offset, wanted, got);
        bytes.resize(offset + got);
        if (!status)
            return status;
        if (got == 0)
            break;
    }
    return FileStatus::Success();
}

std::optional<std::string> ReadFileBytes(const std::wstring& path, size_t limit) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file =
        SystemFileSystem().Open(path, OpenMode::ReadShared, status);
    std::string bytes;
    if (!file || !ReadUpTo(*file, limit, bytes))
        return std::nullopt;
    return bytes;
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file =
        SystemFileSystem().Open(path, OpenMode::CreateNew, status);
    return file && file->Write(bytes) && file->Close();
}
