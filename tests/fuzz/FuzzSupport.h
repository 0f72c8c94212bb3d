#pragma once

// Shared by the fuzz targets: a scratch raw file per process and reading it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"
#include "header/HeaderText.h"

// The scratch file's path; the name has a day number so that it splits like a real one.
inline std::wstring ScratchRawFile() {
    const std::string path = "/tmp/tzr-fuzz-" + std::to_string(getpid()) + "/ABCD123A.TZR";
    return std::wstring(path.begin(), path.end());
}

inline std::string Narrow(const std::wstring& path) {
    return std::string(path.begin(), path.end());
}

inline void WriteScratch(const std::wstring& path, const uint8_t* data, size_t size) {
    const std::string narrow = Narrow(path);
    std::filesystem::create_directories(std::filesystem::path(narrow).parent_path());
    std::FILE* file = std::fopen(narrow.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

inline std::string ReadScratch(const std::wstring& path) {
    std::FILE* file = std::fopen(Narrow(path).c_str(), "rb");
    std::string bytes;
    char buffer[65536];
    for (size_t got; file != nullptr && (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;)
        bytes.append(buffer, got);
    if (file != nullptr)
        std::fclose(file);
    return bytes;
}

// Stops the run with a finding when a property does not hold.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

inline const AntennaCatalogue& DefaultCatalogue() {
    static const AntennaCatalogue catalogue = [] {
        AntennaCatalogue loaded;
        loaded.UseDefaultList();
        return loaded;
    }();
    return catalogue;
}

// Lines longer than a read piece are read back cut, as the format always did.
inline bool HasLongLine(const std::string& header) {
    size_t start = 0;
    for (size_t end; (end = header.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (end + 2 - start > HeaderText::kPieceLimit)
            return true;
    }
    return false;
}

inline StationHeader ReadScratchHeader(const std::wstring& path, const AntennaCatalogue& catalogue,
                                       unsigned codePage) {
    StationHeader header;
    HeaderReadOptions options;
    options.codePage = codePage;
    ReadStationHeader(path, catalogue, header, options);
    return header;
}
