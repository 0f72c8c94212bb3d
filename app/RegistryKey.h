#pragma once

#include <windows.h>

#include <string>

// An open registry key, closed when it goes out of scope.
class CRegistryKey {
  public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Each returns ERROR_SUCCESS or the system's error code.
    LONG Open(HKEY parent, const std::wstring& name, REGSAM access = KEY_SET_VALUE);
    LONG Create(HKEY parent, const std::wstring& name);
    // The key's own default value when `name` is empty.
    LONG SetValue(const std::wstring& name, const std::wstring& value);
    LONG SetValue(const std::wstring& name, DWORD value);
    void Close();

    HKEY Handle() const { return key_; }

  private:
    HKEY key_ = nullptr;
};
