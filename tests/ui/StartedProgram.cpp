#include "StartedProgram.h"

#include <gtest/gtest.h>

#include "ui/Dialog.h"

namespace {

constexpr int kWindowPolls = 300;
constexpr DWORD kPollMilliseconds = 100;
constexpr DWORD kExitMilliseconds = 20000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindEditorWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        WindowText(window) != L"TZR Data Manager")
        return TRUE;
    search->found = window;
    return FALSE;
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
    WindowSearch search = {GetProcessId(process), nullptr};
    for (int tries = 0; tries < kWindowPolls && search.found == nullptr; ++tries) {
        Sleep(kPollMilliseconds);
        EnumWindows(FindEditorWindow, reinterpret_cast<LPARAM>(&search));
    }
    std::vector<std::wstring> texts(ids.size(), L"<no window>");
    if (search.found != nullptr) {
        texts.clear();
        for (int id : ids)
            texts.push_back(ControlText(search.found, id));
        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EXPECT_EQ(WaitForSingleObject(process, kExitMilliseconds), WAIT_OBJECT_0);
    CloseHandle(process);
    return texts;
}

std::wstring RegistryDefault(HKEY root, const std::wstring& key) {
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}
