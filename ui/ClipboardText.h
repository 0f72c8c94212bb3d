#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The clipboard's Unicode text; nothing when it holds none or cannot be opened.
std::optional<std::wstring> ClipboardText(HWND owner);
// Puts the text on the clipboard in place of what it held; false when it cannot.
bool SetClipboardText(HWND owner, const std::wstring& text);
