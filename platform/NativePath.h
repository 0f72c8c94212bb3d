#pragma once

#include <string>
#include <string_view>

// POSIX file names are bytes; ours are wide text, stored on disk as UTF-8. A name that is not
// UTF-8 (as unzip leaves a Chinese Windows archive) keeps each stray byte as a code point of its
// own, U+DC80 to U+DCFF, so that the file can still be opened by the name it was listed under.
std::string NativePath(const std::wstring& path);
std::wstring PathFromNative(std::string_view native);
