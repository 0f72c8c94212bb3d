#include "platform/AppendFile.h"

#include <windows.h>

#include "platform/SystemError.h"

namespace {

class WindowsAppendFile : public AppendFile {
  public:
    WindowsAppendFile(HANDLE handle, std::wstring path) : handle_(handle), path_(std::move(path)) {}
    ~WindowsAppendFile() override { CloseHandle(handle_); }

    FileStatus Append(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) ||
                written == 0)
                return FileStatus::Failure(LastErrorText(path_));
            bytes.remove_prefix(written);
        }
        if (!FlushFileBuffers(handle_))
            return FileStatus::Failure(LastErrorText(path_));
        return FileStatus::Success();
    }

  private:
    HANDLE handle_;
    std::wstring path_;
};

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Creates the folders above `path` that are missing. A step that fails (a drive, a share, a
// folder that exists) is passed over: opening the file then says what is wrong.
void CreateFoldersAbove(const std::wstring& path) {
    for (size_t at = 1; at < path.size(); ++at) {
        if (IsSeparator(path[at]) && path[at - 1] != L':' && !IsSeparator(path[at - 1]))
            CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
}

}  // namespace

std::unique_ptr<AppendFile> OpenAppendFile(const std::wstring& path, FileStatus& status) {
    CreateFoldersAbove(path);
    const HANDLE handle =
        CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        status = FileStatus::Failure(LastErrorText(path));
        return nullptr;
    }
    status = FileStatus::Success();
    return std::make_unique<WindowsAppendFile>(handle, path);
}
