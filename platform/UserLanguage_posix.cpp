#include "platform/UserLanguage.h"

#include <cstdlib>
#include <string_view>

namespace {

// The first of the variables that decide the language of messages and is set.
std::string_view MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

}  // namespace

// "zh_CN.UTF-8" gives "zh"; "C" and "POSIX" name no language.
std::string UserLanguage() {
    const std::string_view locale = MessagesLocale();
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@-"));
    if (language == "C" || language == "POSIX")
        return {};
    return std::string(language);
}
