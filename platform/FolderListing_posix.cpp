#include "platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/NativePath.h"
#include "platform/SystemError.h"

namespace {

bool IsDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// The entry's own type, a link not followed; asked of the system where the folder does not say.
bool IsFolderItself(int folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat status;
    return ::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(status.st_mode);
}

// Most names are ASCII, which widen without a converter and into the same buffer each time.
void WidenName(const char* name, std::wstring& wide) {
    const std::string_view bytes(name);
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        wide.assign(bytes.begin(), bytes.end());
    else
        wide = PathFromNative(bytes);
}

}  // namespace

FileStatus ListFolder(const std::wstring& folder, const FolderNameTaker& take) {
    DIR* listing = ::opendir(NativePath(folder).c_str());
    if (listing == nullptr)
        return FileStatus::Failure(LastErrorText(folder));
    std::wstring name;
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!IsDotOrDotDot(entry->d_name)) {
            WidenName(entry->d_name, name);
            take(name, IsFolderItself(::dirfd(listing), *entry));
        }
        errno = 0;
    }
    const int error = errno;
    ::closedir(listing);
    if (error != 0) {
        errno = error;
        return FileStatus::Failure(LastErrorText(folder));
    }
    return FileStatus::Success();
}

bool IsFolder(const std::wstring& path) {
    struct stat status;
    return ::stat(NativePath(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
