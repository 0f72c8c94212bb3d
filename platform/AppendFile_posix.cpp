#include "platform/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/NativePath.h"
#include "platform/SystemError.h"

namespace {

class PosixAppendFile : public AppendFile {
  public:
    PosixAppendFile(int descriptor, std::wstring path)
        : descriptor_(descriptor), path_(std::move(path)) {}
    ~PosixAppendFile() override { ::close(descriptor_); }

    FileStatus Append(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return FileStatus::Failure(LastErrorText(path_));
            bytes.remove_prefix(static_cast<size_t>(written));
        }
        if (::fsync(descriptor_) != 0)
            return FileStatus::Failure(LastErrorText(path_));
        return FileStatus::Success();
    }

  private:
    int descriptor_;
    std::wstring path_;
};

// Creates the folders above `native` that are missing, as `mkdir -p` would.
bool CreateFoldersAbove(const std::string& native) {
    for (size_t slash = native.find('/', 1); slash != std::string::npos;
         slash = native.find('/', slash + 1)) {
        const std::string folder = native.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<AppendFile> OpenAppendFile(const std::wstring& path, FileStatus& status) {
    const std::string native = NativePath(path);
    if (!CreateFoldersAbove(native)) {
        status = FileStatus::Failure(LastErrorText(path));
        return nullptr;
    }
    const int descriptor = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        status = FileStatus::Failure(LastErrorText(path));
        return nullptr;
    }
    status = FileStatus::Success();
    return std::make_unique<PosixAppendFile>(descriptor, path);
}
