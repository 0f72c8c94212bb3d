#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/ExtendedPath.h"
#include "platform/SystemError.h"

namespace {

constexpr DWORD kMaxChunk = 1 << 20;
constexpr int kTemporaryNameTries = 100;

FileStatus FailureOf(const std::wstring& path, FileFault fault = FileFault::Other) {
    return FileStatus::Failure(LastErrorText(path), fault);
}

bool SameIgnoringCase(const std::wstring& first, const std::wstring& second) {
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

// The path the system resolved a handle to ("\\?\C:\folder\name"); nothing where it cannot tell.
std::optional<std::wstring> FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::nullopt;
        const bool fits = length < path.size();
        path.resize(length);
        if (fits)
            return path;
    }
}

// Wine shows a Linux symbolic link as the file it points to, with no reparse point to refuse,
// and moves that file when the link is renamed. The system then resolves the name to another
// name or another folder. The folder is resolved alike, so that a folder reached through a link,
// a junction or a mapped drive does not count; where either cannot be told, nothing does.
bool ResolvesElsewhere(HANDLE file, const std::wstring& path) {
    const std::wstring extended = ExtendedPath(path);
    const std::optional<std::wstring> resolved = FinalPathOf(file);
    // Mostly the path resolves to itself, and its folder need not be asked.
    if (!resolved || SameIgnoringCase(*resolved, extended))
        return false;
    const size_t nameStart = extended.find_last_of(L'\\') + 1;
    std::wstring folderPath = extended.substr(0, nameStart);
    if (folderPath.size() > 1 && folderPath[folderPath.size() - 2] != L':')
        folderPath.pop_back();
    const HANDLE folder =
        CreateFileW(folderPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    std::optional<std::wstring> resolvedFolder = FinalPathOf(folder);
    CloseHandle(folder);
    if (!resolvedFolder)
        return false;
    if (!resolvedFolder->ends_with(L'\\'))
        *resolvedFolder += L'\\';
    return !SameIgnoringCase(*resolved, *resolvedFolder + extended.substr(nameStart));
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return {information.dwVolumeSerialNumber,
            (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

class WinFile : public OpenedFile {
  public:
    WinFile(HANDLE handle, std::wstring path, bool appending = false)
        : handle_(handle), path_(std::move(path)), appending_(appending) {}
    ~WinFile() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }

    FileStatus Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size(), kMaxChunk));
            DWORD written = 0;
            // An offset of all ones writes at the end, whatever others added meanwhile.
            OVERLAPPED atEnd = {};
            atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
            if (!WriteFile(handle_, bytes.data(), wanted, &written,
                           appending_ ? &atEnd : nullptr) ||
                written == 0)
                return FailureOf(path_);
            bytes.remove_prefix(written);
        }
        return FileStatus::Success();
    }

    FileStatus Read(char* buffer, size_t size, size_t& got) override {
        DWORD read = 0;
        if (!ReadFile(handle_, buffer, static_cast<DWORD>(std::min<size_t>(size, kMaxChunk)), &read,
                      nullptr))
            return FailureOf(path_);
        got = read;
        return FileStatus::Success();
    }

    FileStatus Seek(uint64_t offset) override {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN))
            return FailureOf(path_);
        return FileStatus::Success();
    }

    FileStatus Flush() override {
        if (!FlushFileBuffers(handle_))
            return FailureOf(path_);
        return FileStatus::Success();
    }

    FileStatus Facts(FileFacts& facts) override {
        BY_HANDLE_FILE_INFORMATION information;
        if (!GetFileInformationByHandle(handle_, &information))
            return FailureOf(path_);
        facts.identity = IdentityOf(information);
        facts.size =
            (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
        facts.modified = static_cast<int64_t>(
            (static_cast<uint64_t>(information.ftLastWriteTime.dwHighDateTime) << 32) |
            information.ftLastWriteTime.dwLowDateTime);
        facts.linkCount = information.nNumberOfLinks;
        facts.readOnly = (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        facts.permissions = 0;
        return FileStatus::Success();
    }

    FileStatus CopyAccessFrom(const FileFacts&) override { return FileStatus::Success(); }

    FileStatus Close() override {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle))
            return FailureOf(path_);
        return FileStatus::Success();
    }

    // Not GetFileInformationByHandle, which also asks for the volume: under Wine that alone
    // costs about a millisecond, a good part of each save.
    bool IsReparsePoint() const {
        FILE_ATTRIBUTE_TAG_INFO information;
        return GetFileInformationByHandleEx(handle_, FileAttributeTagInfo, &information,
                                            sizeof information) &&
               (information.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }

    bool IsLink() const { return IsReparsePoint() || ResolvesElsewhere(handle_, path_); }

  private:
    HANDLE handle_;
    std::wstring path_;
    bool appending_;
};

FileFault FaultOfFailedOpen(DWORD error, const std::wstring& path) {
    switch (error) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileFault::Exists;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileFault::InUse;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileFault::Missing;
        case ERROR_ACCESS_DENIED: {
            const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                return FileFault::Link;
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_READONLY) != 0)
                return FileFault::ReadOnly;
            return FileFault::Other;
        }
        default:
            return FileFault::Other;
    }
}

struct OpenParameters {
    DWORD access;
    DWORD sharing;
    DWORD disposition;
    DWORD flags;
};

OpenParameters ParametersOf(OpenMode mode) {
    switch (mode) {
        case OpenMode::ReadShared:
            return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL};
        // Sharing deletion only lets the save rename and remove the file while it holds it.
        case OpenMode::Rewrite:
            return {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT};
        case OpenMode::CreateNew:
            return {GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT};
        // Write access rather than append access alone, which could not be flushed.
        case OpenMode::Append:
            return {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT};
    }
    return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL};
}

class WinFileSystem : public FileSystem {
  public:
    std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                     FileStatus& status) override {
        const OpenParameters open = ParametersOf(mode);
        const HANDLE handle = CreateFileW(ExtendedPath(path).c_str(), open.access, open.sharing,
                                          nullptr, open.disposition, open.flags, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            const FileFault fault = FaultOfFailedOpen(error, path);
            SetLastError(error);
            status = FailureOf(path, fault);
            return nullptr;
        }
        auto file = std::make_unique<WinFile>(handle, path, mode == OpenMode::Append);
        if ((mode == OpenMode::Rewrite || mode == OpenMode::Append) && file->IsLink()) {
            SetLastError(ERROR_CANT_ACCESS_FILE);
            status = FailureOf(path, FileFault::Link);
            return nullptr;
        }
        status = FileStatus::Success();
        return file;
    }

    FileStatus Delete(const std::wstring& path) override {
        if (!DeleteFileW(ExtendedPath(path).c_str()))
            return FailureOf(path);
        return FileStatus::Success();
    }

    FileStatus Rename(const std::wstring& from, const std::wstring& to,
                      bool replaceExisting) override {
        if (FileStatus moved = Move(from, to, replaceExisting); !moved)
            return moved;
        return GiveNameItsCase(to);
    }

    FileStatus Exchange(const std::wstring&, const std::wstring& second) override {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FailureOf(second);
    }

    // Every move is written through to the disk already.
    FileStatus FlushFolderOf(const std::wstring&) override { return FileStatus::Success(); }

    std::optional<FileIdentity> IdentityAt(const std::wstring& path) override {
        const HANDLE handle = CreateFileW(
            ExtendedPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
            nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return std::nullopt;
        BY_HANDLE_FILE_INFORMATION information;
        const bool known = GetFileInformationByHandle(handle, &information) != FALSE;
        CloseHandle(handle);
        if (!known)
            return std::nullopt;
        return IdentityOf(information);
    }

    bool CanReplaceOpenFile() const override { return false; }

  private:
    static FileStatus Move(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
        const DWORD flags =
            MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
        if (!MoveFileExW(ExtendedPath(from).c_str(), ExtendedPath(to).c_str(), flags)) {
            const DWORD error = GetLastError();
            return FailureOf(to, error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS
                                     ? FileFault::Exists
                                     : FileFault::Other);
        }
        return FileStatus::Success();
    }

    // A file system may keep a name's old letter case when a file moves onto a name that differs
    // from it only in case (Wine on Linux does); the file then goes to a temporary name and
    // from there to the name as spelled, never replacing anything on the way.
    static FileStatus GiveNameItsCase(const std::wstring& path) {
        const size_t nameStart = path.find_last_of(L"\\/") + 1;
        const std::wstring wanted = path.substr(nameStart);
        const std::optional<std::wstring> onDisk = NameOnDisk(path);
        if (!onDisk || *onDisk == wanted || !SameIgnoringCase(*onDisk, wanted))
            return FileStatus::Success();
        const std::wstring current = path.substr(0, nameStart) + *onDisk;
        std::wstring aside;
        for (int attempt = 0; attempt < kTemporaryNameTries && aside.empty(); ++attempt) {
            const std::wstring candidate = path + L"." + std::to_wstring(attempt) + L".tmp";
            if (FileStatus moved = Move(current, candidate, false); moved)
                aside = candidate;
            else if (moved.fault != FileFault::Exists)
                return moved;
        }
        if (aside.empty())
            return CaseNotChanged(path);
        if (FileStatus moved = Move(aside, path, false); !moved) {
            // Another file took the name meanwhile: ours goes back, or the failure names where
            // it stays.
            if (!Move(aside, current, false))
                return FailureOf(aside);
            return moved;
        }
        return NameOnDisk(path) == wanted ? FileStatus::Success() : CaseNotChanged(path);
    }

    static FileStatus CaseNotChanged(const std::wstring& path) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FailureOf(path);
    }

    // The name as the folder holds it, in its own letter case.
    static std::optional<std::wstring> NameOnDisk(const std::wstring& path) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileExW(ExtendedPath(path).c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE)
            return std::nullopt;
        FindClose(search);
        return std::wstring(found.cFileName);
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static WinFileSystem fileSystem;
    return fileSystem;
}

// A step that fails (a drive, a share, a folder that exists) is passed over: opening the file
// then says what is wrong.
FileStatus CreateFoldersAbove(const std::wstring& path) {
    const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    for (size_t at = 1; at < path.size(); ++at) {
        if (isSeparator(path[at]) && path[at - 1] != L':' && !isSeparator(path[at - 1]))
            CreateDirectoryW(ExtendedPath(path.substr(0, at)).c_str(), nullptr);
    }
    return FileStatus::Success();
}
