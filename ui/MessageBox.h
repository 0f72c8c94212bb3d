#pragma once

#include <windows.h>

#include <string>

#include "ui/MessageIcon.h"

// Every message of the program: caption "TZR Data Manager", the given owner, OK unless other
// buttons are asked for. Returns the button pressed (IDOK, IDYES, ...).
int ShowMessageBox(HWND owner, const std::wstring& text, MessageIcon icon, UINT buttons = MB_OK);

// The text of a string-table entry of the program.
std::wstring LoadResourceString(UINT id);
