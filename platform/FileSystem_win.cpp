#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/SystemError.h"

namespace {

constexpr DWORD kMaxChunk = 1 << 20;

class WinFile : public OpenedFile {
  public:
    WinFile(HANDLE handle, std::wstring path) : handle_(handle), path_(std::move(path)) {}
    ~WinFile() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }

    FileStatus Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size(), kMaxChunk));
            DWORD written = 0;
            if (!WriteFile(handle_, bytes.data(), wanted, &written, nullptr) || written == 0)
                return Failed();
            bytes.remove_prefix(written);
        }
        return FileStatus::Success();
    }

    FileStatus Read(char* buffer, size_t size, size_t& got) override {
        DWORD read = 0;
        if (!ReadFile(handle_, buffer, static_cast<DWORD>(std::min<size_t>(size, kMaxChunk)), &read,
                      nullptr))
            return Failed();
        got = read;
        return FileStatus::Success();
    }

    FileStatus Seek(uint64_t offset) override {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN))
            return Failed();
        return FileStatus::Success();
    }

    FileStatus Flush() override {
        if (!FlushFileBuffers(handle_))
            return Failed();
        return FileStatus::Success();
    }

    FileStatus Close() override {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle))
            return Failed();
        return FileStatus::Success();
    }

  private:
    FileStatus Failed() const { return FileStatus::Failure(LastErrorText(path_)); }

    HANDLE handle_;
    std::wstring path_;
};

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

bool IdentityOf(const std::wstring& path, FileIdentity& identity) {
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(handle, &information) != FALSE;
    CloseHandle(handle);
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh,
                information.nFileIndexLow};
    return known;
}

class WinFileSystem : public FileSystem {
  public:
    std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                     FileStatus& status) override {
        DWORD access = GENERIC_READ;
        DWORD disposition = OPEN_EXISTING;
        if (mode == OpenMode::ReadWriteExisting) {
            access = GENERIC_READ | GENERIC_WRITE;
        } else if (mode == OpenMode::CreateForWrite) {
            access = GENERIC_WRITE;
            disposition = CREATE_ALWAYS;
        }
        const HANDLE handle = CreateFileW(path.c_str(), access, 0, nullptr, disposition,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            status = FileStatus::Failure(LastErrorText(path));
            return nullptr;
        }
        status = FileStatus::Success();
        return std::make_unique<WinFile>(handle, path);
    }

    FileStatus Delete(const std::wstring& path) override {
        if (!DeleteFileW(path.c_str()))
            return FileStatus::Failure(LastErrorText(path));
        return FileStatus::Success();
    }

    FileStatus Rename(const std::wstring& from, const std::wstring& to,
                      bool replaceExisting) override {
        const DWORD flags =
            MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
        if (!MoveFileExW(from.c_str(), to.c_str(), flags))
            return FileStatus::Failure(LastErrorText(to));
        return FileStatus::Success();
    }

    bool Exists(const std::wstring& path) override {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool SameFile(const std::wstring& first, const std::wstring& second) override {
        FileIdentity firstIdentity;
        FileIdentity secondIdentity;
        return IdentityOf(first, firstIdentity) && IdentityOf(second, secondIdentity) &&
               firstIdentity == secondIdentity;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static WinFileSystem fileSystem;
    return fileSystem;
}
