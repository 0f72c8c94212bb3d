#include "platform/NativePath.h"

#include "platform/CodePage.h"

std::string NativePath(const std::wstring& path) {
    return UnicodeStringToMultiByte(path, kUtf8CodePage);
}
