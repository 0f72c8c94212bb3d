#include "platform/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/NativePath.h"
#include "platform/SystemError.h"

namespace {

class PosixFile : public OpenedFile {
  public:
    PosixFile(int descriptor, std::wstring path)
        : descriptor_(descriptor), path_(std::move(path)) {}
    ~PosixFile() override {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }

    FileStatus Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return Failed();
            bytes.remove_prefix(static_cast<size_t>(written));
        }
        return FileStatus::Success();
    }

    FileStatus Read(char* buffer, size_t size, size_t& got) override {
        ssize_t read;
        do {
            read = ::read(descriptor_, buffer, size);
        } while (read < 0 && errno == EINTR);
        if (read < 0)
            return Failed();
        got = static_cast<size_t>(read);
        return FileStatus::Success();
    }

    FileStatus Seek(uint64_t offset) override {
        if (::lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) < 0)
            return Failed();
        return FileStatus::Success();
    }

    FileStatus Flush() override {
        if (::fsync(descriptor_) != 0)
            return Failed();
        return FileStatus::Success();
    }

    // The kernel copies from file to file; where it cannot (another file system, an old
    // kernel), the copy falls back to reading and writing.
    FileStatus CopyFrom(OpenedFile& source) override {
        auto* posixSource = dynamic_cast<PosixFile*>(&source);
        if (posixSource == nullptr)
            return OpenedFile::CopyFrom(source);
        for (;;) {
            const ssize_t copied = ::copy_file_range(posixSource->descriptor_, nullptr, descriptor_,
                                                     nullptr, kCopyBlockSize * 64, 0);
            if (copied == 0)
                return FileStatus::Success();
            if (copied > 0)
                continue;
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                return OpenedFile::CopyFrom(source);
            return Failed();
        }
    }

    FileStatus Close() override {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (::close(descriptor) != 0)
            return Failed();
        return FileStatus::Success();
    }

  private:
    FileStatus Failed() const { return FileStatus::Failure(LastErrorText(path_)); }

    int descriptor_;
    std::wstring path_;
};

bool StatOf(const std::wstring& path, struct stat& status) {
    return ::stat(NativePath(path).c_str(), &status) == 0;
}

class PosixFileSystem : public FileSystem {
  public:
    std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                     FileStatus& status) override {
        int flags = O_RDONLY;
        if (mode == OpenMode::ReadWriteExisting)
            flags = O_RDWR;
        else if (mode == OpenMode::CreateForWrite)
            flags = O_WRONLY | O_CREAT | O_TRUNC;
        const int descriptor = ::open(NativePath(path).c_str(), flags | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            status = FileStatus::Failure(LastErrorText(path));
            return nullptr;
        }
        // The nearest POSIX has to an exclusive open: an advisory lock that others also take.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            status = FileStatus::Failure(LastErrorText(path));
            ::close(descriptor);
            return nullptr;
        }
        status = FileStatus::Success();
        return std::make_unique<PosixFile>(descriptor, path);
    }

    FileStatus Delete(const std::wstring& path) override {
        if (::unlink(NativePath(path).c_str()) != 0)
            return FileStatus::Failure(LastErrorText(path));
        return FileStatus::Success();
    }

    FileStatus Rename(const std::wstring& from, const std::wstring& to,
                      bool replaceExisting) override {
        const std::string source = NativePath(from);
        const std::string target = NativePath(to);
        int result;
        if (replaceExisting) {
            result = ::rename(source.c_str(), target.c_str());
        } else {
            result =
                ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
            if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
                struct stat existing;
                if (::lstat(target.c_str(), &existing) == 0) {
                    errno = EEXIST;
                } else {
                    result = ::rename(source.c_str(), target.c_str());
                }
            }
        }
        if (result != 0)
            return FileStatus::Failure(LastErrorText(to));
        return FileStatus::Success();
    }

    bool Exists(const std::wstring& path) override {
        struct stat status;
        return StatOf(path, status);
    }

    bool SameFile(const std::wstring& first, const std::wstring& second) override {
        struct stat firstStatus;
        struct stat secondStatus;
        return StatOf(first, firstStatus) && StatOf(second, secondStatus) &&
               firstStatus.st_dev == secondStatus.st_dev &&
               firstStatus.st_ino == secondStatus.st_ino;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}
