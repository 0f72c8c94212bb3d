#include "app/Settings.h"

#include "app/RegistryKey.h"

bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, DWORD value) {
    CRegistryKey key;
    const std::wstring path =
        std::wstring(L"software\\") + kSettingsKey + L"\\" + kApplicationName + L"\\" + section;
    if (key.Create(HKEY_CURRENT_USER, path) != ERROR_SUCCESS)
        return false;
    return key.SetValue(entry, value) == ERROR_SUCCESS;
}
