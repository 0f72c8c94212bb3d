#include "platform/AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/CodePage.h"

std::wstring AbsolutePath(const std::wstring& path) {
    if (path.empty() || path.front() == L'/')
        return path;
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (!folder)
        return path;
    std::wstring absolute = MultiByteToUnicodeString(folder.get(), kUtf8CodePage);
    if (absolute.empty() || absolute.back() != L'/')
        absolute += L'/';
    return absolute + (path.starts_with(L"./") ? path.substr(2) : path);
}
