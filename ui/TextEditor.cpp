#include "ui/TextEditor.h"

#include <shellapi.h>

INT_PTR OpenInNotepad(const std::wstring& path) {
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL));
}
