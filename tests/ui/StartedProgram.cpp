#include "StartedProgram.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "res/resource.h"
#include "ui/Dialog.h"

namespace {

constexpr int kWindowPolls = 300;
constexpr DWORD kPollMilliseconds = 100;
constexpr DWORD kExitMilliseconds = 20000;

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        WindowText(window) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(HANDLE process, const wchar_t* title) {
    WindowSearch search = {GetProcessId(process), title, nullptr};
    for (int tries = 0; tries < kWindowPolls && search.found == nullptr; ++tries) {
        Sleep(kPollMilliseconds);
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

void CloseAndWait(HWND window, HANDLE process) {
    if (window != nullptr)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(process, kExitMilliseconds), WAIT_OBJECT_0);
    CloseHandle(process);
}

// GetWindowText gives no control's text across processes; the control itself does.
std::wstring ControlText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    const auto length = static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

}  // namespace

std::vector<std::wstring> ControlTextsShownBy(HANDLE process, std::initializer_list<int> ids) {
    const HWND editor = WaitForWindow(process, L"TZR Data Manager");
    std::vector<std::wstring> texts(ids.size(), L"<no window>");
    if (editor != nullptr) {
        texts.clear();
        for (int id : ids)
            texts.push_back(ControlText(editor, id));
    }
    CloseAndWait(editor, process);
    return texts;
}

int CampaignRowsShownBy(HANDLE process) {
    const HWND window = WaitForWindow(process, L"TZR Data Manager - \u6279\u91CF\u7F16\u8F91");
    int rows = -1;
    if (window != nullptr) {
        // The progress bar shows while files are read.
        for (int tries = 0;
             tries < kWindowPolls && IsWindowVisible(GetDlgItem(window, IDC_CAMPAIGN_PROGRESS));
             ++tries)
            Sleep(kPollMilliseconds);
        rows = static_cast<int>(
            SendMessageW(GetDlgItem(window, IDC_CAMPAIGN_LIST), LVM_GETITEMCOUNT, 0, 0));
    }
    CloseAndWait(window, process);
    return rows;
}

std::wstring RegistryDefault(HKEY root, const std::wstring& key) {
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}
