#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The system's file-open dialog for one raw file; nothing when the user cancels.
std::optional<std::wstring> ChooseRawFile(HWND owner);
