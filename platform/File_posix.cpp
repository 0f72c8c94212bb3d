#include "platform/File.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/NativePath.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr size_t kChunkSize = 1 << 16;

}  // namespace

std::optional<std::string> ReadFileBytes(const std::wstring& path, size_t limit) {
    std::FILE* raw = std::fopen(NativePath(path).c_str(), "rb");
    if (raw == nullptr)
        return std::nullopt;
    const std::unique_ptr<std::FILE, FileCloser> file(raw);
    std::string bytes;
    while (bytes.size() < limit) {
        const size_t offset = bytes.size();
        const size_t wanted = std::min(kChunkSize, limit - offset);
        bytes.resize(offset + wanted);
        const size_t got = std::fread(bytes.data() + offset, 1, wanted, file.get());
        bytes.resize(offset + got);
        if (got < wanted)
            break;
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes) {
    std::FILE* file = std::fopen(NativePath(path).c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return (std::fclose(file) == 0) && written;
}

bool PathExists(const std::wstring& path) {
    struct stat status;
    return ::stat(NativePath(path).c_str(), &status) == 0;
}
