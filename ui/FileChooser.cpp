#include "ui/FileChooser.h"

#include <shobjidl.h>

#include "ui/ComPtr.h"

namespace {

const COMDLG_FILTERSPEC kRawFileTypes[] = {
    {L"DRQ Raw File(*.TZR)", L"*.TZR"},
};

}  // namespace

std::optional<std::wstring> ChooseRawFile(HWND owner) {
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&dialog))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options)))
        return std::nullopt;
    options &= ~FOS_ALLOWMULTISELECT;
    if (FAILED(dialog->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT)))
        return std::nullopt;
    dialog->SetTitle(L"Velmoran TZR Data Manager");
    dialog->SetFileTypes(ARRAYSIZE(kRawFileTypes), kRawFileTypes);
    if (FAILED(dialog->Show(owner)))
        return std::nullopt;

    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(&item)))
        return std::nullopt;
    PWSTR path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    std::wstring result(path);
    CoTaskMemFree(path);
    return result;
}
