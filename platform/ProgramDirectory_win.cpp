#include "platform/ProgramDirectory.h"

#include <windows.h>

#include "platform/PathText.h"

// A path that fills the buffer may have been cut short: the buffer grows until it holds the whole.
std::wstring GetProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring GetProgramDirectory() {
    return DirectoryPartOf(GetProgramPath(), L'\\');
}
