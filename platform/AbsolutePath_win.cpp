#include "platform/AbsolutePath.h"

#include <windows.h>

std::wstring AbsolutePath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring absolute(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, absolute.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    absolute.resize(length);
    return absolute;
}
