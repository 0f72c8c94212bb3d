#include "platform/FileSystem.h"

#include <vector>

FileStatus OpenedFile::CopyFrom(OpenedFile& source) {
    std::vector<char> block(kCopyBlockSize);
    for (;;) {
        size_t got = 0;
        if (FileStatus status = source.Read(block.data(), block.size(), got); !status)
            return status;
        if (got == 0)
            return FileStatus::Success();
        if (FileStatus status = Write(std::string_view(block.data(), got)); !status)
            return status;
    }
}
