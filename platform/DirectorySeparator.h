#pragma once

#ifdef _WIN32
constexpr wchar_t kDirectorySeparator = L'\\';
#else
constexpr wchar_t kDirectorySeparator = L'/';
#endif
