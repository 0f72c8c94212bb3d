#include "ui/TextEditor.h"

#include <shellapi.h>

#include <algorithm>

namespace {

std::wstring TemporaryFolder() {
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length > folder.size()) {
        folder.resize(length);
        length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    }
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsTextByte(char c) {
    return static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n' || c == '\t';
}

}  // namespace

INT_PTR OpenInNotepad(const std::wstring& path) {
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL));
}

std::string_view HeaderTextLines(std::string_view headerRegion) {
    const auto end = std::find_if_not(headerRegion.begin(), headerRegion.end(), IsTextByte);
    if (end == headerRegion.end())
        return headerRegion;
    // The data began within the last line's bytes.
    const std::string_view text =
        headerRegion.substr(0, static_cast<size_t>(end - headerRegion.begin()));
    return text.substr(0, text.rfind('\n') + 1);
}

std::optional<std::wstring> WriteHeaderCopy(const std::wstring& rawPath, std::string_view text) {
    const std::wstring folder = TemporaryFolder();
    if (folder.empty())
        return std::nullopt;
    const std::wstring copy = folder + FileNameOf(rawPath) + L".txt";
    // An earlier copy of the same file is read-only too.
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    const HANDLE file = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_READONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    DWORD written = 0;
    const bool wrote =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE &&
        written == text.size();
    CloseHandle(file);
    if (!wrote) {
        SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(copy.c_str());
        return std::nullopt;
    }
    return copy;
}
