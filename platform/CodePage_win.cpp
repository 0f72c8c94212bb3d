#include "platform/CodePage.h"

#include <windows.h>

#include <climits>

unsigned AnsiCodePage() {
    return GetACP();
}

unsigned OemCodePage() {
    return GetOEMCP();
}

std::wstring MultiByteToUnicodeString(std::string_view src, unsigned codePage) {
    if (src.empty() || src.size() > INT_MAX)
        return {};
    const int srcLength = static_cast<int>(src.size());
    const int length = MultiByteToWideChar(codePage, 0, src.data(), srcLength, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, src.data(), srcLength, result.data(), length);
    return result;
}

std::string UnicodeStringToMultiByte(std::wstring_view src, unsigned codePage) {
    if (src.empty() || src.size() > INT_MAX)
        return {};
    const int srcLength = static_cast<int>(src.size());
    const int length =
        WideCharToMultiByte(codePage, 0, src.data(), srcLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, src.data(), srcLength, result.data(), length, nullptr,
                        nullptr);
    return result;
}

bool IsCodePageAvailable(unsigned codePage) {
    return IsValidCodePage(codePage) != FALSE;
}
