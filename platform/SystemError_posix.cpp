#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

#include "platform/CodePage.h"

std::wstring LastErrorText(const std::wstring& path) {
    return MultiByteToUnicodeString(std::strerror(errno), kUtf8CodePage) + L"\n" + path;
}
