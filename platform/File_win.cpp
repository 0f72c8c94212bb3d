#include "platform/File.h"

#include <windows.h>

#include <algorithm>

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (IsOpen())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

constexpr DWORD kChunkSize = 1 << 16;

}  // namespace

std::optional<std::string> ReadFileBytes(const std::wstring& path, size_t limit) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    std::string bytes;
    while (bytes.size() < limit) {
        const size_t offset = bytes.size();
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(kChunkSize, limit - offset));
        bytes.resize(offset + wanted);
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + offset, wanted, &got, nullptr))
            return std::nullopt;
        bytes.resize(offset + got);
        if (got == 0)
            break;
    }
    return bytes;
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(kChunkSize, bytes.size()));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data(), wanted, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return file.Close();
}

bool PathExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}
