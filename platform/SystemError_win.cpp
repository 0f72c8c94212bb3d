#include "platform/SystemError.h"

#include <windows.h>

std::wstring LastErrorText(const std::wstring& path) {
    const DWORD error = GetLastError();
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring cause = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!cause.empty() &&
           (cause.back() == L'\n' || cause.back() == L'\r' || cause.back() == L' '))
        cause.pop_back();
    if (cause.empty())
        cause = L"error " + std::to_wstring(error);
    return cause + L"\n" + path;
}
