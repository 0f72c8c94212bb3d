// What the setup program leaves on a machine, looked at from inside it: scripts/install-test.sh
// runs the Installed tests after a silent install and the Uninstalled tests after a silent
// uninstall, with TZR_INSTALL_DIR naming the folder and TZR_RAW_FILE a copy of
// samples/ABCD123A.TZR.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "StartedProgram.h"
#include "TestFiles.h"
#include "res/resource.h"

namespace {

const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TZR Data Manager";
const std::wstring kCommandKey = L"TZRfile\\Shell\\TZR Data Manager\\Command";
const std::wstring kOpenCommandKey = L"TZRfile\\Shell\\open\\Command";
const std::vector<std::wstring> kProgramFiles = {
    L"TZR Data Manager.exe", L"tzrhdr.exe",  L"TZR.ico",
    L"README.txt",           L"LICENSE.txt", L"Uninstall.exe"};

std::wstring Widened(const char* text) {
    return std::wstring(text, text + strlen(text));
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 4] = {};
    GetEnvironmentVariableW(name, value, MAX_PATH * 4);
    return value;
}

std::wstring InstallDir() {
    return Environment(L"TZR_INSTALL_DIR");
}

std::wstring Program() {
    return InstallDir() + L"\\TZR Data Manager.exe";
}

std::wstring StartMenuShortcut(const std::wstring& name = L"TZR Data Manager") {
    PWSTR folder = nullptr;
    SHGetKnownFolderPath(FOLDERID_CommonPrograms, 0, nullptr, &folder);
    std::wstring path = std::wstring(folder) + L"\\" + name + L".lnk";
    CoTaskMemFree(folder);
    return path;
}

// The installing user's: Windows has no Send To folder for all users.
std::wstring SendToShortcut() {
    PWSTR folder = nullptr;
    SHGetKnownFolderPath(FOLDERID_SendTo, 0, nullptr, &folder);
    std::wstring path = std::wstring(folder) + L"\\TZR \u6279\u91CF\u7F16\u8F91.lnk";
    CoTaskMemFree(folder);
    return path;
}

std::wstring CommandPromptShortcut() {
    return StartMenuShortcut(L"TZR \u547D\u4EE4\u884C");
}

std::wstring CampaignShortcut() {
    return StartMenuShortcut(L"TZR \u6279\u91CF\u7F16\u8F91");
}

struct Shortcut {
    std::wstring target = L"<unreadable>";
    std::wstring arguments;
    std::wstring workingFolder;
};

Shortcut ReadShortcut(const std::wstring& path) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Shortcut shortcut;
    wchar_t text[MAX_PATH * 4] = {};
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        link->GetPath(text, MAX_PATH * 4, nullptr, 0);
        shortcut.target = text;
        link->GetArguments(text, MAX_PATH * 4);
        shortcut.arguments = text;
        link->GetWorkingDirectory(text, MAX_PATH * 4);
        shortcut.workingFolder = text;
    }
    if (file != nullptr)
        file->Release();
    if (link != nullptr)
        link->Release();
    CoUninitialize();
    return shortcut;
}

// What a program prints when its standard input holds `input`.
std::string OutputOf(std::wstring commandLine, const std::string& input) {
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inherited, 0) ||
        !CreatePipe(&outputRead, &outputWrite, &inherited, 0))
        return "<no pipe>";
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    DWORD written = 0;
    WriteFile(inputWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CloseHandle(inputWrite);
    std::string output = started ? "" : "<not started>";
    char block[4096];
    DWORD got = 0;
    while (ReadFile(outputRead, block, sizeof(block), &got, nullptr) && got > 0)
        output.append(block, got);
    CloseHandle(outputRead);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return output;
}

std::wstring FileVersion(const std::wstring& program) {
    std::vector<char> data(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    wchar_t* version = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\StringFileInfo\\080404B0\\FileVersion",
                        reinterpret_cast<void**>(&version), &length))
        return L"<none>";
    return version;
}

std::wstring UninstallValue(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 4] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), name, RRF_RT_REG_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

using Association = std::vector<std::pair<std::wstring, std::wstring>>;

Association AssociationInRegistry() {
    Association values;
    for (const wchar_t* key : {L".TZR", L"TZRfile", L"TZRfile\\DefaultIcon", L"TZRfile\\Shell",
                               kCommandKey.c_str(), kOpenCommandKey.c_str()})
        values.emplace_back(key, RegistryDefault(HKEY_CLASSES_ROOT, key));
    return values;
}

TEST(Installed, ProgramFilesAreInTheFolder) {
    for (const std::wstring& name : kProgramFiles)
        EXPECT_TRUE(Exists(InstallDir() + L"\\" + name)) << name;
}

TEST(Installed, ProgramsCarryTheReleaseVersion) {
    for (const wchar_t* name : {L"TZR Data Manager.exe", L"tzrhdr.exe"})
        EXPECT_EQ(FileVersion(InstallDir() + L"\\" + name), Widened(TZR_VERSION)) << name;
}

TEST(Installed, ListedAmongInstalledPrograms) {
    const std::vector<std::pair<const wchar_t*, std::wstring>> expected = {
        {L"DisplayName", L"TZR Data Manager"},
        {L"DisplayVersion", Widened(TZR_VERSION)},
        {L"Publisher", L"TZR Data Manager project"},
        {L"DisplayIcon", Program() + L",0"},
        {L"InstallLocation", InstallDir()},
        {L"UninstallString", L"\"" + InstallDir() + L"\\Uninstall.exe\""},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(UninstallValue(name), value) << name;
    DWORD size = 0;
    DWORD sizeOfSize = sizeof(size);
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), L"EstimatedSize",
                           RRF_RT_REG_DWORD, nullptr, &size, &sizeOfSize),
              ERROR_SUCCESS);
    EXPECT_GT(size, 0u);
}

TEST(Installed, StartMenuShortcutStartsTheProgram) {
    EXPECT_EQ(ReadShortcut(StartMenuShortcut()).target, Program());
}

// The rows of the campaign window that the shortcut opens, with `files` after its arguments as
// Explorer puts them; -1 when no window opened.
int CampaignRowsOpenedBy(const Shortcut& shortcut, const std::vector<std::wstring>& files) {
    std::wstring commandLine = L"\"" + shortcut.target + L"\" " + shortcut.arguments;
    for (const std::wstring& file : files)
        commandLine += L" \"" + file + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    return CampaignRowsShownBy(process.hProcess);
}

TEST(Installed, CampaignShortcutOpensAnEmptyCampaignWindow) {
    const Shortcut campaign = ReadShortcut(CampaignShortcut());
    EXPECT_EQ(campaign.target, Program());
    EXPECT_EQ(campaign.arguments, L"/campaign");
    EXPECT_EQ(CampaignRowsOpenedBy(campaign, {}), 0);
}

// Explorer's Send To starts the shortcut once with every selected file.
TEST(Installed, SendToShortcutOpensTheSelectedFilesInOneCampaignWindow) {
    const Shortcut sendTo = ReadShortcut(SendToShortcut());
    EXPECT_EQ(sendTo.target, Program());
    EXPECT_EQ(sendTo.arguments, L"/campaign");
    const TemporaryDirectory selection;
    const std::string bytes = ReadWholeFile(Environment(L"TZR_RAW_FILE"));
    const std::vector<std::wstring> files = {selection.WriteFile(L"ABCD123A.TZR", bytes),
                                             selection.WriteFile(L"EFGH123A.TZR", bytes)};
    EXPECT_EQ(CampaignRowsOpenedBy(sendTo, files), 2);
}

// The prompt starts in the user's documents and finds tzrhdr wherever the program went.
TEST(Installed, CommandPromptShortcutFindsTzrhdr) {
    const Shortcut prompt = ReadShortcut(CommandPromptShortcut());
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(prompt.target.c_str(), (std::wstring(system) + L"\\cmd.exe").c_str()), 0)
        << prompt.target;
    EXPECT_EQ(prompt.workingFolder, L"%USERPROFILE%\\Documents");
    const std::string output =
        OutputOf(L"\"" + prompt.target + L"\" " + prompt.arguments, "tzrhdr --version\r\nexit\r\n");
    EXPECT_NE(output.find("tzrhdr " TZR_VERSION), std::string::npos) << output;
}

// The shell follows the installer's association, by its default verb and by "open" as other
// programs ask for it; the program then writes its own at start-up, which must change nothing.
TEST(Installed, RawFileOpensInTheInstalledProgramWithTheAssociationItWrites) {
    const Association installed = AssociationInRegistry();
    const Association expected = {
        {L".TZR", L"TZRfile"},
        {L"TZRfile", L"TZR Document"},
        {L"TZRfile\\DefaultIcon", InstallDir() + L"\\TZR.ico"},
        {L"TZRfile\\Shell", L"TZR Data Manager"},
        {kCommandKey, L"\"" + Program() + L"\" \"%1\""},
        {kOpenCommandKey, L"\"" + Program() + L"\" \"%1\""},
    };
    EXPECT_EQ(installed, expected);

    const std::wstring rawFile = Environment(L"TZR_RAW_FILE");
    for (const wchar_t* verb : {static_cast<const wchar_t*>(nullptr), L"open"}) {
        SCOPED_TRACE(verb == nullptr ? "default verb" : "open");
        SHELLEXECUTEINFOW execute = {};
        execute.cbSize = sizeof(execute);
        execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        execute.lpVerb = verb;
        execute.lpFile = rawFile.c_str();
        execute.nShow = SW_SHOWNORMAL;
        ASSERT_TRUE(ShellExecuteExW(&execute) && execute.hProcess != nullptr) << GetLastError();
        wchar_t image[MAX_PATH * 4] = {};
        DWORD imageLength = MAX_PATH * 4;
        QueryFullProcessImageNameW(execute.hProcess, 0, image, &imageLength);
        EXPECT_EQ(lstrcmpiW(image, Program().c_str()), 0) << image;
        const std::vector<std::wstring> expectedTexts = {L"ABCD", L"1.523"};
        EXPECT_EQ(ControlTextsShownBy(execute.hProcess, {IDC_STATION_NAME, IDC_ANTENNA_HEIGHT}),
                  expectedTexts);
    }

    EXPECT_EQ(AssociationInRegistry(), installed);
}

TEST(Uninstalled, ProgramFilesAreGone) {
    for (const std::wstring& name : kProgramFiles)
        EXPECT_FALSE(Exists(InstallDir() + L"\\" + name)) << name;
    EXPECT_FALSE(Exists(StartMenuShortcut()));
    EXPECT_FALSE(Exists(CommandPromptShortcut()));
    EXPECT_FALSE(Exists(CampaignShortcut()));
    EXPECT_FALSE(Exists(SendToShortcut()));
}

TEST(Uninstalled, RegistryKeysAreGone) {
    const std::vector<std::pair<HKEY, std::wstring>> keys = {
        {HKEY_CLASSES_ROOT, L".TZR"},
        {HKEY_CLASSES_ROOT, L"TZRfile"},
        {HKEY_LOCAL_MACHINE, kUninstallKey},
    };
    for (const auto& [root, key] : keys)
        EXPECT_FALSE(KeyExists(root, key)) << key;
}

}  // namespace
