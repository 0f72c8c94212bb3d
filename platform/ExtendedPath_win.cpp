#include "platform/ExtendedPath.h"

#include "platform/AbsolutePath.h"

namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\";

bool IsDrivePath(const std::wstring& path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.empty() || path.starts_with(kExtendedPrefix) || path.starts_with(kDevicePrefix))
        return path;
    const std::wstring full = AbsolutePath(path);
    if (full.starts_with(kExtendedPrefix) || full.starts_with(kDevicePrefix))
        return full;
    if (full.starts_with(kUncPrefix))
        return std::wstring(kExtendedPrefix) + L"UNC\\" + full.substr(kUncPrefix.size());
    if (IsDrivePath(full))
        return std::wstring(kExtendedPrefix) + full;
    return full;
}
