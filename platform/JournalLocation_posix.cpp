#include "platform/JournalLocation.h"

#include <cstdlib>

#include "platform/CodePage.h"

std::optional<std::wstring> DefaultJournalPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state != nullptr && state[0] == '/') {
        folder = state;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        folder = std::string(home) + "/.local/state";
    } else {
        return std::nullopt;
    }
    return MultiByteToUnicodeString(folder + "/tzrhdr/journal.jsonl", kUtf8CodePage);
}
