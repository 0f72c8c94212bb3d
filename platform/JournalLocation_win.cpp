#include "platform/JournalLocation.h"

#include <shlobj.h>
#include <windows.h>

std::optional<std::wstring> DefaultJournalPath() {
    PWSTR folder = nullptr;
    std::optional<std::wstring> path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)))
        path = std::wstring(folder) + L"\\TZR Data Manager\\journal.jsonl";
    CoTaskMemFree(folder);
    return path;
}
