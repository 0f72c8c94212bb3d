#pragma once

#include <windows.h>

#include <string>

// Starts Notepad on the file, the path passed exactly as given; returns what ShellExecuteW
// returned, which is 32 or less on failure.
INT_PTR OpenInNotepad(const std::wstring& path);
