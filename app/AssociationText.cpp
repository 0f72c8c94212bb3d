#include "app/AssociationText.h"

std::wstring AssociationIconPath(const std::wstring& modulePath) {
    const size_t separator = modulePath.find_last_of(L'\\');
    const std::wstring directory =
        separator == std::wstring::npos ? std::wstring() : modulePath.substr(0, separator + 1);
    return directory + L"TZR.ico";
}

std::wstring AssociationCommand(const std::wstring& modulePath) {
    return L"\"" + modulePath + L"\" \"%1\"";
}
