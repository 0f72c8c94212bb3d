#include "app/TZRApp.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/FileAssociation.h"
#include "app/Settings.h"
#include "platform/FolderListing.h"
#include "ui/CampaignWindow.h"
#include "ui/TZRDlg.h"

namespace {

constexpr DWORD kAllWin95Classes = 0xFF;

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return {};
    std::vector<std::wstring> args(argv + (count > 0 ? 1 : 0), argv + count);
    LocalFree(argv);
    return args;
}

// COM for the file-open dialog, for the life of the editor.
class ComApartment {
  public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace

CTZRApp theApp;

bool CTZRApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), kAllWin95Classes};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    // The settings key is kSettingsKey, which every setting is written under.
    RegisterFileAssociation();
    Launch launch = LaunchFromArguments(CommandLineArguments(), IsFolder);
    if (launch.window == Launch::Window::Campaign) {
        RunCampaignWindow(nullptr, std::move(launch.paths), CampaignServices::System());
        return false;
    }
    {
        EditorServices services = EditorServices::System();
        services.writeSetting = WriteProfileInt;
        CTZRDlg dialog(launch.paths.empty() ? std::wstring() : launch.paths.front(),
                       std::move(services));
        dialog.DoModal();
    }
    return false;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
