#include "platform/ProgramDirectory.h"

#include <windows.h>

#include "platform/PathText.h"

std::wstring GetProgramDirectory() {
    std::wstring path(4096, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return DirectoryPartOf(path, L'\\');
}
