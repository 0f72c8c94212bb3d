#include "platform/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/NativePath.h"
#include "platform/PathText.h"
#include "platform/SystemError.h"

namespace {

FileStatus FailureOf(const std::wstring& path, FileFault fault = FileFault::Other) {
    return FileStatus::Failure(LastErrorText(path), fault);
}

FileIdentity IdentityOf(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

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
                return FailureOf(path_);
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
            return FailureOf(path_);
        got = static_cast<size_t>(read);
        return FileStatus::Success();
    }

    FileStatus Seek(uint64_t offset) override {
        if (::lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) < 0)
            return FailureOf(path_);
        return FileStatus::Success();
    }

    FileStatus Flush() override {
        if (::fsync(descriptor_) != 0)
            return FailureOf(path_);
        return FileStatus::Success();
    }

    FileStatus Facts(FileFacts& facts) override {
        struct stat status;
        if (::fstat(descriptor_, &status) != 0)
            return FailureOf(path_);
        facts.identity = IdentityOf(status);
        facts.size = static_cast<uint64_t>(status.st_size);
        facts.modified =
            static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
        facts.linkCount = static_cast<uint32_t>(status.st_nlink);
        facts.regularFile = S_ISREG(status.st_mode);
        // The mode bits decide, not who runs the program: root may write anything.
        facts.readOnly = (status.st_mode & S_IWUSR) == 0;
        facts.owner = status.st_uid;
        facts.group = status.st_gid;
        facts.permissions = status.st_mode & 07777;
        return FileStatus::Success();
    }

    // Only root may give a file away; anyone else's copy stays theirs, as the original was.
    FileStatus CopyAccessFrom(const FileFacts& original) override {
        if (::fchown(descriptor_, original.owner, original.group) != 0 && errno != EPERM)
            return FailureOf(path_);
        if (::fchmod(descriptor_, static_cast<mode_t>(original.permissions)) != 0)
            return FailureOf(path_);
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
                                                     nullptr, kFileBlockSize * 64, 0);
            if (copied == 0)
                return FileStatus::Success();
            if (copied > 0)
                continue;
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                return OpenedFile::CopyFrom(source);
            return FailureOf(path_);
        }
    }

    FileStatus Close() override {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (::close(descriptor) != 0)
            return FailureOf(path_);
        return FileStatus::Success();
    }

  private:
    int descriptor_;
    std::wstring path_;
};

FileFault FaultOfFailedOpen(int error, const std::string& path) {
    struct stat status;
    switch (error) {
        case ELOOP:
            return FileFault::Link;
        case EEXIST:
            return FileFault::Exists;
        case ENOENT:
        case ENOTDIR:
            return FileFault::Missing;
        case EACCES:
        case EPERM:
        case EROFS:
            if (error == EROFS ||
                (::lstat(path.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) == 0))
                return FileFault::ReadOnly;
            return FileFault::Other;
        default:
            return FileFault::Other;
    }
}

int OpenFlags(OpenMode mode) {
    switch (mode) {
        // Never waiting for a writer when the name is a pipe.
        case OpenMode::ReadShared:
            return O_RDONLY | O_NONBLOCK;
        case OpenMode::Rewrite:
            return O_RDWR | O_NOFOLLOW | O_NONBLOCK;
        case OpenMode::CreateNew:
            return O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
        case OpenMode::Append:
            return O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW;
    }
    return O_RDONLY;
}

std::string FolderOf(const std::string& path) {
    const std::string folder = DirectoryPartOf(path, '/');
    return folder.empty() ? "." : folder;
}

class PosixFileSystem : public FileSystem {
  public:
    std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                     FileStatus& status) override {
        const std::string native = NativePath(path);
        const int descriptor = ::open(native.c_str(), OpenFlags(mode) | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            const int error = errno;
            const FileFault fault = FaultOfFailedOpen(error, native);
            errno = error;
            status = FailureOf(path, fault);
            return nullptr;
        }
        // The nearest POSIX has to an exclusive open: an advisory lock that others also take.
        const bool exclusive = mode == OpenMode::Rewrite || mode == OpenMode::CreateNew;
        if (exclusive && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            status = FailureOf(path, errno == EWOULDBLOCK ? FileFault::InUse : FileFault::Other);
            ::close(descriptor);
            return nullptr;
        }
        status = FileStatus::Success();
        return std::make_unique<PosixFile>(descriptor, path);
    }

    FileStatus Delete(const std::wstring& path) override {
        if (::unlink(NativePath(path).c_str()) != 0)
            return FailureOf(path);
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
            return FailureOf(to, errno == EEXIST ? FileFault::Exists : FileFault::Other);
        return FileStatus::Success();
    }

    FileStatus Exchange(const std::wstring& first, const std::wstring& second) override {
        if (::renameat2(AT_FDCWD, NativePath(first).c_str(), AT_FDCWD, NativePath(second).c_str(),
                        RENAME_EXCHANGE) != 0)
            return FailureOf(second);
        return FileStatus::Success();
    }

    FileStatus FlushFolderOf(const std::wstring& path) override {
        const int folder = ::open(FolderOf(NativePath(path)).c_str(), O_RDONLY | O_DIRECTORY);
        if (folder < 0)
            return FailureOf(path);
        // Some file systems cannot flush a folder; they have nothing pending to lose either.
        const bool flushed = ::fsync(folder) == 0 || errno == EINVAL;
        const int error = errno;
        ::close(folder);
        errno = error;
        return flushed ? FileStatus::Success() : FailureOf(path);
    }

    std::optional<FileIdentity> IdentityAt(const std::wstring& path) override {
        struct stat status;
        if (::lstat(NativePath(path).c_str(), &status) != 0)
            return std::nullopt;
        return IdentityOf(status);
    }

    bool CanReplaceOpenFile() const override { return true; }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

FileStatus CreateFoldersAbove(const std::wstring& path) {
    const std::string native = NativePath(path);
    for (size_t slash = native.find('/', 1); slash != std::string::npos;
         slash = native.find('/', slash + 1)) {
        if (::mkdir(native.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
            return FailureOf(path);
    }
    return FileStatus::Success();
}
