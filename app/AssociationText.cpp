#include "app/AssociationText.h"

#include "platform/PathText.h"

std::wstring AssociationIconPath(const std::wstring& modulePath) {
    return DirectoryPartOf(modulePath, L'\\') + L"TZR.ico";
}

std::wstring AssociationCommand(const std::wstring& modulePath) {
    return L"\"" + modulePath + L"\" \"%1\"";
}
