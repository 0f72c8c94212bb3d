#pragma once

#include <windows.h>

#include <string>

// The program's settings under HKEY_CURRENT_USER\software\<settings key>\<application name>.
constexpr wchar_t kSettingsKey[] = L"TZR Data Manager";
constexpr wchar_t kApplicationName[] = L"TZR Data Manager";

// Writes an integer setting as REG_DWORD; false when it could not be written.
bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, DWORD value);
