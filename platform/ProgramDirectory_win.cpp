#include "platform/ProgramDirectory.h"

#include <windows.h>

std::wstring GetProgramDirectory() {
    std::wstring path(4096, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}
