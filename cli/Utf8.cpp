#include "cli/Utf8.h"

#include "platform/CodePage.h"

std::string ToUtf8(std::wstring_view text) {
    return UnicodeStringToMultiByte(text, kUtf8CodePage);
}
