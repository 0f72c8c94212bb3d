#pragma once

#include <string>

// The path from the root, as a record read later from another folder needs it; a relative path
// is taken from the current folder.
std::wstring AbsolutePath(const std::wstring& path);
