#pragma once

#include <string>

// POSIX file names are bytes; ours are wide text, stored on disk as UTF-8.
std::string NativePath(const std::wstring& path);
