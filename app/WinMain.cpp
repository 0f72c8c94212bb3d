#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "ui/TZRDlg.h"

namespace {

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return {};
    std::vector<std::wstring> args(argv + (count > 0 ? 1 : 0), argv + count);
    LocalFree(argv);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The file-open dialog is a COM object that wants a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        CTZRDlg dialog(RawFilePathFromArguments(CommandLineArguments()));
        dialog.DoModal();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
