#pragma once

#include <string>

#include "platform/DirectorySeparator.h"

// The folder part of a path, its last separator included; empty when the path has none.
template <typename Char>
std::basic_string<Char> DirectoryPartOf(const std::basic_string<Char>& path, Char separator) {
    const size_t last = path.find_last_of(separator);
    return last == std::basic_string<Char>::npos ? std::basic_string<Char>()
                                                 : path.substr(0, last + 1);
}

// The name after the last separator.
inline std::wstring FileNamePartOf(const std::wstring& path,
                                   wchar_t separator = kDirectorySeparator) {
    return path.substr(DirectoryPartOf(path, separator).size());
}
