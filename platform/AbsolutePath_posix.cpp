#include "platform/AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/NativePath.h"

std::wstring AbsolutePath(const std::wstring& path) {
    if (path.empty() || path.front() == L'/')
        return path;
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (!folder)
        return path;
    std::wstring absolute = PathFromNative(folder.get());
    if (absolute.empty() || absolute.back() != L'/')
        absolute += L'/';
    return absolute + (path.starts_with(L"./") ? path.substr(2) : path);
}
