#include "ui/FileChooser.h"

#include <shobjidl.h>

#include "ui/ComPtr.h"

namespace {

const COMDLG_FILTERSPEC kRawFileTypes[] = {{L"DRQ Raw File(*.TZR)", L"*.TZR"}};
const COMDLG_FILTERSPEC kTableTypes[] = {{L"CSV (*.csv)", L"*.csv"}};

std::wstring PathOf(IShellItem* item) {
    PWSTR path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return {};
    std::wstring result(path);
    CoTaskMemFree(path);
    return result;
}

template <typename Dialog>
bool Prepare(ComPtr<Dialog>& dialog, REFCLSID kind, FILEOPENDIALOGOPTIONS extra) {
    if (FAILED(CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return false;
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options)))
        return false;
    return SUCCEEDED(dialog->SetOptions(options | FOS_FORCEFILESYSTEM | extra));
}

template <typename Dialog>
std::optional<std::wstring> ShowForOnePath(Dialog& dialog, HWND owner) {
    ComPtr<IShellItem> item;
    if (FAILED(dialog.Show(owner)) || FAILED(dialog.GetResult(&item)))
        return std::nullopt;
    std::wstring path = PathOf(item.Get());
    if (path.empty())
        return std::nullopt;
    return path;
}

std::optional<std::wstring> ChooseOne(HWND owner, FILEOPENDIALOGOPTIONS extra,
                                      const COMDLG_FILTERSPEC* types, UINT typeCount) {
    ComPtr<IFileOpenDialog> dialog;
    if (!Prepare(dialog, CLSID_FileOpenDialog, extra))
        return std::nullopt;
    if (types != nullptr)
        dialog->SetFileTypes(typeCount, types);
    return ShowForOnePath(*dialog.Get(), owner);
}

}  // namespace

std::optional<std::wstring> ChooseRawFile(HWND owner) {
    ComPtr<IFileOpenDialog> dialog;
    if (!Prepare(dialog, CLSID_FileOpenDialog, FOS_OVERWRITEPROMPT))
        return std::nullopt;
    dialog->SetTitle(L"Velmoran TZR Data Manager");
    dialog->SetFileTypes(ARRAYSIZE(kRawFileTypes), kRawFileTypes);
    return ShowForOnePath(*dialog.Get(), owner);
}

std::optional<std::wstring> ChooseFolder(HWND owner) {
    return ChooseOne(owner, FOS_PICKFOLDERS, nullptr, 0);
}

std::optional<std::wstring> ChooseTable(HWND owner) {
    return ChooseOne(owner, 0, kTableTypes, ARRAYSIZE(kTableTypes));
}

std::vector<std::wstring> ChooseRawFiles(HWND owner) {
    ComPtr<IFileOpenDialog> dialog;
    if (!Prepare(dialog, CLSID_FileOpenDialog, FOS_ALLOWMULTISELECT))
        return {};
    dialog->SetFileTypes(ARRAYSIZE(kRawFileTypes), kRawFileTypes);
    ComPtr<IShellItemArray> items;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResults(&items)))
        return {};
    DWORD count = 0;
    items->GetCount(&count);
    std::vector<std::wstring> paths;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        if (SUCCEEDED(items->GetItemAt(i, &item)))
            paths.push_back(PathOf(item.Get()));
    }
    return paths;
}

std::optional<std::wstring> ChooseCsvTarget(HWND owner) {
    ComPtr<IFileSaveDialog> dialog;
    if (!Prepare(dialog, CLSID_FileSaveDialog, FOS_OVERWRITEPROMPT))
        return std::nullopt;
    dialog->SetFileTypes(ARRAYSIZE(kTableTypes), kTableTypes);
    dialog->SetDefaultExtension(L"csv");
    return ShowForOnePath(*dialog.Get(), owner);
}
