#include "app/FileAssociation.h"

#include "app/AssociationText.h"
#include "app/RegistryKey.h"

namespace {

constexpr wchar_t kFileType[] = L"TZRfile";
constexpr DWORD kModulePathCapacity = 520;

bool SetDefaultValue(HKEY root, const std::wstring& keyName, const std::wstring& value) {
    CRegistryKey key;
    if (key.Open(root, keyName) != ERROR_SUCCESS && key.Create(root, keyName) != ERROR_SUCCESS)
        return false;
    key.SetValue(L"", value);
    return true;
}

}  // namespace

std::wstring ModulePath() {
    std::wstring path(kModulePathCapacity, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void RegisterFileAssociation(HKEY root) {
    CRegistryKey extension;
    if (extension.Create(root, L".TZR") == ERROR_SUCCESS)
        extension.SetValue(L"", kFileType);
    extension.Close();
    WriteFileTypeKeys(ModulePath(), root);
}

bool WriteFileTypeKeys(const std::wstring& modulePath, HKEY root) {
    const std::wstring fileType = kFileType;
    return SetDefaultValue(root, fileType, L"TZR Document") &&
           SetDefaultValue(root, fileType + L"\\DefaultIcon", AssociationIconPath(modulePath)) &&
           SetDefaultValue(root, fileType + L"\\Shell", L"TZR Data Manager") &&
           SetDefaultValue(root, fileType + L"\\Shell\\TZR Data Manager\\Command",
                           AssociationCommand(modulePath));
}
