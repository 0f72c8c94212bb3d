#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The outcome of one file operation: on failure, a text that names the cause and the file.
struct FileStatus {
    bool ok = true;
    std::wstring error;

    static FileStatus Success() { return {}; }
    static FileStatus Failure(std::wstring error) { return {false, std::move(error)}; }
    explicit operator bool() const { return ok; }
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
    // Appends everything from `source`'s position to its end; reads and writes by default,
    // a platform may let the system copy without passing the bytes through the program.
    virtual FileStatus CopyFrom(OpenedFile& source);
};

enum class OpenMode {
    ReadExisting,
    ReadWriteExisting,
    // Created, or emptied when it exists.
    CreateForWrite,
};

// Whole-file operations as the rewrite of raw files needs them. Every open asks for exclusive
// access, so a file that another program holds open cannot be opened.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Nothing, with `status` telling why, when the file cannot be opened.
    virtual std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                             FileStatus& status) = 0;
    virtual FileStatus Delete(const std::wstring& path) = 0;
    // Moves in one step; an existing target is replaced only when asked, atomically.
    virtual FileStatus Rename(const std::wstring& from, const std::wstring& to,
                              bool replaceExisting) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    // Whether two paths name one file, however they are spelled.
    virtual bool SameFile(const std::wstring& first, const std::wstring& second) = 0;
};

FileSystem& SystemFileSystem();

// The block in which files are copied by reading and writing.
constexpr size_t kCopyBlockSize = 1 << 20;
