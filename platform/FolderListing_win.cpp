#include "platform/FolderListing.h"

#include <windows.h>

#include "platform/ExtendedPath.h"
#include "platform/SystemError.h"

namespace {

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool IsFolderItself(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

}  // namespace

FileStatus ListFolder(const std::wstring& folder, const FolderNameTaker& take) {
    const bool endsInSeparator =
        !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    const std::wstring everything = ExtendedPath(folder + (endsInSeparator ? L"*" : L"\\*"));
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(everything.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return FileStatus::Failure(LastErrorText(folder));
    do {
        if (!IsDotOrDotDot(found.cFileName))
            take(found.cFileName, IsFolderItself(found.dwFileAttributes));
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        SetLastError(error);
        return FileStatus::Failure(LastErrorText(folder));
    }
    return FileStatus::Success();
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
