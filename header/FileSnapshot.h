#pragma once

#include <string>

#include "platform/FileSystem.h"

// What a read saw of a raw file, so that a save can tell whether anything changed it since.
struct FileSnapshot {
    FileIdentity identity;
    // The header region's bytes as they were read.
    std::string headerRegion;
    // The whole file's size, by which a write that stopped half-way is recognised. A read that
    // asked for no facts gives the bytes it read, which the file held at least.
    uint64_t size = 0;
};
