#include "platform/Utf8.h"

#include "platform/CodePage.h"

std::string ToUtf8(std::wstring_view text) {
    return UnicodeStringToMultiByte(text, kUtf8CodePage);
}

std::wstring FromUtf8(std::string_view utf8) {
    return MultiByteToUnicodeString(utf8, kUtf8CodePage);
}
