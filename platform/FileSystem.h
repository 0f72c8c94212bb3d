#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Why a file operation failed, where the caller must tell the cases apart.
enum class FileFault {
    None,
    Other,
    // Something, a file or a link, already stands at the name.
    Exists,
    // The name is a symbolic link or another reparse point.
    Link,
    // The file may not be written: no write permission, or the read-only attribute.
    ReadOnly,
    // Another program holds the file open or locked.
    InUse,
    // Nothing stands at the name, or a folder on its way does not exist.
    Missing,
};

// The outcome of one file operation: on failure, a text that names the cause and the file.
struct FileStatus {
    bool ok = true;
    std::wstring error;
    FileFault fault = FileFault::None;

    static FileStatus Success() { return {}; }
    static FileStatus Failure(std::wstring error, FileFault fault = FileFault::Other) {
        return {false, std::move(error), fault};
    }
    explicit operator bool() const { return ok; }
};

// Which file a name stands for, however the path is spelled: device and inode, or volume serial
// number and file index.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What a save must know of an opened file before it changes it.
struct FileFacts {
    FileIdentity identity;
    // Size and time of the last write, to tell whether anyone wrote to the file meanwhile.
    uint64_t size = 0;
    int64_t modified = 0;
    uint32_t linkCount = 1;
    bool readOnly = false;
    // False for a device, a pipe or a folder opened by name.
    bool regularFile = true;
    // POSIX owner, group and permission bits; a copy that replaces the file gets the same.
    uint32_t owner = 0;
    uint32_t group = 0;
    uint32_t permissions = 0;
};

// A file opened for one operation; closed at the latest when it is destroyed.
class OpenedFile {
  public:
    virtual ~OpenedFile() = default;

    virtual FileStatus Write(std::string_view bytes) = 0;
    // `got` is 0 at the end of the file.
    virtual FileStatus Read(char* buffer, size_t size, size_t& got) = 0;
    virtual FileStatus Seek(uint64_t offset) = 0;
    // Puts what was written on the disk itself.
    virtual FileStatus Flush() = 0;
    virtual FileStatus Close() = 0;
    virtual FileStatus Facts(FileFacts& facts) = 0;
    // Gives the file the owner and permission bits of another, as far as this process may;
    // Windows copies inherit the folder's security as the original did, so there it does nothing.
    virtual FileStatus CopyAccessFrom(const FileFacts& original) = 0;
    // Appends everything from `source`'s position to its end; reads and writes by default,
    // a platform may let the system copy without passing the bytes through the program.
    virtual FileStatus CopyFrom(OpenedFile& source);
};

enum class OpenMode {
    // For reading while other programs keep the file open, even for writing, as C stdio allows.
    ReadShared,
    // For reading and writing an existing file that is no link, held exclusively until closed:
    // no other program may open it (POSIX: an advisory lock that every instance of ours takes).
    Rewrite,
    // A new file for writing: fails with FileFault::Exists when anything stands at the name, a
    // link included, which is neither followed nor touched.
    CreateNew,
    // For adding to the end of a file that is no link, created when missing, as a log: others
    // may read it meanwhile. A log written through a link could not be rewritten where it is.
    Append,
};

// File operations as the reader, the catalogue and the rewrite of raw files need them.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Nothing, with `status` telling why, when the file cannot be opened.
    virtual std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                             FileStatus& status) = 0;
    virtual FileStatus Delete(const std::wstring& path) = 0;
    // Moves in one step; an existing target is replaced only when asked, atomically. A link at
    // the target is replaced itself, never written through.
    virtual FileStatus Rename(const std::wstring& from, const std::wstring& to,
                              bool replaceExisting) = 0;
    // Swaps the names of two files in one step; FileFault::Other where the system cannot.
    virtual FileStatus Exchange(const std::wstring& first, const std::wstring& second) = 0;
    // Makes renames and deletions in the folder of `path` survive a power loss.
    virtual FileStatus FlushFolderOf(const std::wstring& path) = 0;
    // The file the name itself stands for: a link is not followed.
    virtual std::optional<FileIdentity> IdentityAt(const std::wstring& path) = 0;
    // Windows cannot replace a file that is open; POSIX can, and keeps the lock while it does.
    virtual bool CanReplaceOpenFile() const = 0;

    // True when anything, a file, a folder or a link, stands at exactly this name.
    bool Exists(const std::wstring& path) { return IdentityAt(path).has_value(); }
    // Whether two names stand for one file, however they are spelled.
    bool SameFile(const std::wstring& first, const std::wstring& second);
};

FileSystem& SystemFileSystem();

// Creates the folders above `path` that are missing, as `mkdir -p` would.
FileStatus CreateFoldersAbove(const std::wstring& path);

// The block in which files are read and copied when the system does not copy them itself.
constexpr size_t kFileBlockSize = 1 << 20;

// Reads at most `limit` bytes from the start of the file; nothing when the file cannot be
// opened or read (missing, a folder, no permission, held exclusively by another program).
std::optional<std::string> ReadFileBytes(const std::wstring& path,
                                         size_t limit = std::numeric_limits<size_t>::max());
// Reads at most `limit` bytes from the file's position on.
FileStatus ReadUpTo(OpenedFile& file, size_t limit, std::string& bytes);

// Writes `bytes` into a file it creates; false when anything stands at the name already or any
// step fails.
bool WriteNewFile(const std::wstring& path, std::string_view bytes);
