#pragma once

#ifdef _WIN32
constexpr wchar_t kDirectorySeparator = L'\\';
// Windows reads a forward slash as a backslash.
constexpr wchar_t kAlternativeSeparator = L'/';
#else
constexpr wchar_t kDirectorySeparator = L'/';
constexpr wchar_t kAlternativeSeparator = L'/';
#endif
