#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The system's file dialogs; nothing when the user cancels.

// One raw file, for the editor.
std::optional<std::wstring> ChooseRawFile(HWND owner);

// The files a campaign window reads and writes.
std::optional<std::wstring> ChooseFolder(HWND owner);
std::vector<std::wstring> ChooseRawFiles(HWND owner);
// A field log: a comma-separated table.
std::optional<std::wstring> ChooseTable(HWND owner);
// Where to export the table; asks before replacing a file.
std::optional<std::wstring> ChooseCsvTarget(HWND owner);
