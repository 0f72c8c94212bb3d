// Starts the real program, as the shell or a user would, and looks at the window it opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <string>

#include "StartedProgram.h"
#include "TestFiles.h"
#include "platform/ProgramDirectory.h"
#include "res/resource.h"

namespace {

std::wstring ProgramPath() {
    const std::wstring relative = GetProgramDirectory() + L"..\\TZR Data Manager.exe";
    wchar_t full[MAX_PATH * 4] = {};
    GetFullPathNameW(relative.c_str(), MAX_PATH * 4, full, nullptr);
    return full;
}

std::wstring PathShownBy(HANDLE process) {
    return ControlTextsShownBy(process, {IDC_PATH}).front();
}

// The started process; null when it did not start.
HANDLE Start(const std::wstring& arguments, const std::wstring& program = ProgramPath()) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << GetLastError();
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

std::wstring PathShownAfterStart(const std::wstring& arguments,
                                 const std::wstring& program = ProgramPath()) {
    const HANDLE process = Start(arguments, program);
    return process == nullptr ? L"<not started>" : PathShownBy(process);
}

int CampaignRowsAfterStart(const std::wstring& arguments) {
    const HANDLE process = Start(arguments);
    return process == nullptr ? -2 : CampaignRowsShownBy(process);
}

// What the shell does on a double click: the file's default verb.
std::wstring PathShownAfterOpeningFromTheShell(const std::wstring& file) {
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = file.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute) || execute.hProcess == nullptr) {
        ADD_FAILURE() << "the shell did not start the program " << GetLastError();
        return L"<not started>";
    }
    return PathShownBy(execute.hProcess);
}

class Startup : public testing::Test {
  protected:
    Startup() {
        first =
            directory.WriteFile(L"ABCD123A.TZR", CrLfLines({"ver 2.1", "ReceiverID:A", "Date:1"}));
        second =
            directory.WriteFile(L"EFGH123A.TZR", CrLfLines({"ver 2.1", "ReceiverID:B", "Date:1"}));
        std::filesystem::create_directories(directory.PathOf(L"my survey data"));
        spaced = directory.WriteFile(L"my survey data\\IJKL123A.TZR",
                                     CrLfLines({"ver 2.1", "ReceiverID:C", "Date:1"}));
    }

    TemporaryDirectory directory;
    std::wstring first;
    std::wstring second;
    std::wstring spaced;
};

TEST_F(Startup, OpensTheFirstArgumentThatIsNoSwitch) {
    EXPECT_EQ(PathShownAfterStart(L"\"" + spaced + L"\""), spaced);
    EXPECT_EQ(PathShownAfterStart(L"/p \"" + first + L"\""), first);
    EXPECT_EQ(PathShownAfterStart(L""), L"");
}

// Explorer's Open on several files, a folder dropped on the program's icon, the Start-menu entry.
TEST_F(Startup, SeveralFilesAFolderOrTheSwitchOpenTheCampaignWindow) {
    EXPECT_EQ(CampaignRowsAfterStart(L"\"" + first + L"\" \"" + second + L"\""), 2);
    EXPECT_EQ(CampaignRowsAfterStart(L"\"" + directory.PathOf(L"my survey data") + L"\""), 1);
    EXPECT_EQ(CampaignRowsAfterStart(L"/campaign"), 0);
}

TEST_F(Startup, EveryStartRegistersTheAssociation) {
    PathShownAfterStart(L"\"" + first + L"\"");
    const std::wstring program = ProgramPath();
    const std::wstring directoryOfProgram = program.substr(0, program.find_last_of(L'\\') + 1);
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L".TZR"), L"TZRfile");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile"), L"TZR Document");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\DefaultIcon"),
              directoryOfProgram + L"TZR.ico");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\Shell"), L"TZR Data Manager");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\Shell\\TZR Data Manager\\Command"),
              L"\"" + program + L"\" \"%1\"");
    const std::wstring command =
        RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\Shell\\TZR Data Manager\\Command");
    PathShownAfterStart(L"");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\Shell\\TZR Data Manager\\Command"),
              command);
}

TEST_F(Startup, ProgramInstalledUnderANonAsciiPathRegistersItExactly) {
    const std::wstring folder = directory.PathOf(L"\u6D4B\u91CF\u5DE5\u5177");
    std::filesystem::create_directories(folder);
    const std::wstring copy = folder + L"\\TZR Data Manager.exe";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(PathShownAfterStart(L"\"" + first + L"\"", copy), first);
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\Shell\\TZR Data Manager\\Command"),
              L"\"" + copy + L"\" \"%1\"");
    EXPECT_EQ(RegistryDefault(HKEY_CLASSES_ROOT, L"TZRfile\\DefaultIcon"), folder + L"\\TZR.ico");
    // Leave the association with the program that the other tests start.
    PathShownAfterStart(L"");
}

TEST_F(Startup, FileOpenedFromTheShellStartsTheEditorOnIt) {
    PathShownAfterStart(L"");
    EXPECT_EQ(PathShownAfterOpeningFromTheShell(spaced), spaced);
}

}  // namespace
