#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Reads at most `limit` bytes from the start of the file; nothing when the file cannot be
// opened or read (missing, a directory, no permission, held by another program).
std::optional<std::string> ReadFileBytes(const std::wstring& path,
                                         size_t limit = std::numeric_limits<size_t>::max());

// Creates the file or empties an existing one, then writes `bytes`; false when any step fails.
bool WriteNewFile(const std::wstring& path, std::string_view bytes);

// True when anything, a file or a directory, exists under exactly this path.
bool PathExists(const std::wstring& path);
