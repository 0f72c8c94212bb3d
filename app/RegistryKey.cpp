#include "app/RegistryKey.h"

LONG CRegistryKey::Open(HKEY parent, const std::wstring& name, REGSAM access) {
    Close();
    return RegOpenKeyExW(parent, name.c_str(), 0, access, &key_);
}

LONG CRegistryKey::Create(HKEY parent, const std::wstring& name) {
    Close();
    return RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
}

LONG CRegistryKey::SetValue(const std::wstring& name, const std::wstring& value) {
    return RegSetValueExW(key_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG CRegistryKey::SetValue(const std::wstring& name, DWORD value) {
    return RegSetValueExW(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

void CRegistryKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}
