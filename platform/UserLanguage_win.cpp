#include "platform/UserLanguage.h"

#include <windows.h>

#include "platform/Utf8.h"

// The language of the user interface, which need not be that of the locale's formats.
std::string UserLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0)
        return {};
    const std::wstring_view tag(name);
    return ToUtf8(tag.substr(0, tag.find(L'-')));
}
