#pragma once

// What a started TZR Data Manager shows, and what it and its installer leave in the registry.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Waits for the editor window of `process`, returns the texts of the controls `ids` and closes
// the editor; every text is "<no window>" when none appeared in time.
std::vector<std::wstring> ControlTextsShownBy(HANDLE process, std::initializer_list<int> ids);
// Waits for the campaign window of `process` to read its files, returns its number of rows and
// closes it; -1 when no window appeared in time.
int CampaignRowsShownBy(HANDLE process);

// A key's default value, or "<missing>".
std::wstring RegistryDefault(HKEY root, const std::wstring& key);
