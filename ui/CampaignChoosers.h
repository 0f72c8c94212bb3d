#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The system's dialogs for the files a campaign window reads and writes; nothing when the user
// cancels.
std::optional<std::wstring> ChooseFolder(HWND owner);
std::vector<std::wstring> ChooseRawFiles(HWND owner);
// A field log: a comma-separated table.
std::optional<std::wstring> ChooseTable(HWND owner);
// Where to export the table; asks before replacing a file.
std::optional<std::wstring> ChooseCsvTarget(HWND owner);
