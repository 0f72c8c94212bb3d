#include "app/FileAssociation.h"

#include "app/AssociationText.h"
#include "app/RegistryKey.h"
#include "platform/ProgramDirectory.h"

namespace {

constexpr wchar_t kFileType[] = L"TZRfile";

bool SetDefaultValue(HKEY root, const std::wstring& keyName, const std::wstring& value) {
    CRegistryKey key;
    if (key.Open(root, keyName) != ERROR_SUCCESS && key.Create(root, keyName) != ERROR_SUCCESS)
        return false;
    key.SetValue(L"", value);
    return true;
}

}  // namespace

void RegisterFileAssociation(HKEY root) {
    CRegistryKey extension;
    if (extension.Create(root, L".TZR") == ERROR_SUCCESS)
        extension.SetValue(L"", kFileType);
    extension.Close();
    WriteFileTypeKeys(GetProgramPath(), root);
}

bool WriteFileTypeKeys(const std::wstring& modulePath, HKEY root) {
    const std::wstring fileType = kFileType;
    return SetDefaultValue(root, fileType, L"TZR Document") &&
           SetDefaultValue(root, fileType + L"\\DefaultIcon", AssociationIconPath(modulePath)) &&
           SetDefaultValue(root, fileType + L"\\Shell", L"TZR Data Manager") &&
           SetDefaultValue(root, fileType + L"\\Shell\\TZR Data Manager\\Command",
                           AssociationCommand(modulePath));
}
