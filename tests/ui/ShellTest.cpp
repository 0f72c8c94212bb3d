// The association in the registry, the settings the spare commands write, the About box and
// the window messages that other programs send.
#include <string>
#include <vector>

#include "EditorDialogFixture.h"
#include "StartedProgram.h"
#include "antenna/AntennaCatalogue.h"
#include "app/FileAssociation.h"
#include "platform/ProgramDirectory.h"
#include "ui/AboutDlg.h"

namespace {

// A private stand-in for HKEY_CLASSES_ROOT, emptied before and after each test.
class Association : public testing::Test {
  protected:
    static constexpr wchar_t kRootPath[] = L"Software\\TZR Data Manager Tests\\Classes";

    Association() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRootPath);
        RegCreateKeyExW(HKEY_CURRENT_USER, kRootPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &root_, nullptr);
    }
    ~Association() override {
        RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kRootPath);
    }

    std::vector<std::wstring> Values() {
        return {RegistryDefault(root_, L".TZR"), RegistryDefault(root_, L"TZRfile"),
                RegistryDefault(root_, L"TZRfile\\DefaultIcon"),
                RegistryDefault(root_, L"TZRfile\\Shell"),
                RegistryDefault(root_, L"TZRfile\\Shell\\TZR Data Manager\\Command")};
    }

    HKEY root_ = nullptr;
};

TEST_F(Association, WritesTheFileTypeForTheRunningProgram) {
    RegisterFileAssociation(root_);
    const std::wstring program = GetProgramPath();
    const std::wstring directory = program.substr(0, program.find_last_of(L'\\') + 1);
    const std::vector<std::wstring> expected = {L"TZRfile", L"TZR Document", directory + L"TZR.ico",
                                                L"TZR Data Manager",
                                                L"\"" + program + L"\" \"%1\""};
    EXPECT_EQ(Values(), expected);
    RegisterFileAssociation(root_);
    EXPECT_EQ(Values(), expected);
}

TEST_F(Association, NonAsciiProgramPathIsStoredExactly) {
    const std::wstring program = L"C:\\\u6D4B\u91CF\u5DE5\u5177\\Caf\u00E9\\editor.exe";
    EXPECT_TRUE(WriteFileTypeKeys(program, root_));
    EXPECT_EQ(RegistryDefault(root_, L"TZRfile\\DefaultIcon"),
              L"C:\\\u6D4B\u91CF\u5DE5\u5177\\Caf\u00E9\\TZR.ico");
    EXPECT_EQ(RegistryDefault(root_, L"TZRfile\\Shell\\TZR Data Manager\\Command"),
              L"\"" + program + L"\" \"%1\"");
}

TEST_F(Association, LongProgramPathDoesNotOverflow) {
    const std::wstring program = L"C:\\" + std::wstring(1500, L'd') + L"\\editor.exe";
    EXPECT_TRUE(WriteFileTypeKeys(program, root_));
    EXPECT_EQ(RegistryDefault(root_, L"TZRfile\\Shell\\TZR Data Manager\\Command"),
              L"\"" + program + L"\" \"%1\"");
}

TEST_F(Association, KeyThatCannotBeCreatedEndsTheWriteQuietly) {
    // Lasting keys cannot be created below a volatile one.
    HKEY volatileRoot = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root_, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &volatileRoot, nullptr),
              ERROR_SUCCESS);
    EXPECT_FALSE(WriteFileTypeKeys(L"C:\\Tool\\editor.exe", volatileRoot));
    EXPECT_EQ(RegistryDefault(volatileRoot, L"TZRfile"), L"<missing>");
    RegCloseKey(volatileRoot);
}

class ShellMessages : public EditorDialog {};

TEST_F(ShellMessages, AboutItemOpensTheAboutBoxWhateverTheLowBits) {
    Open(directory.WriteFile(L"ABCD123A.TZR", SampleHeader()));
    for (WPARAM command : {WPARAM{0x0010}, WPARAM{0x001F}}) {
        SetText(IDC_STATION_NAME, L"EDITED");
        SendMessageW(Window(), WM_SYSCOMMAND, command, 0);
        Pump();
        EXPECT_FALSE(dialog_->HasEnded());
        EXPECT_EQ(Text(IDC_STATION_NAME), L"EDITED");
    }
    EXPECT_EQ(aboutShown, 2);
}

TEST_F(ShellMessages, CloseFromTheSystemMenuCancels) {
    Open(L"");
    SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    ASSERT_TRUE(dialog_->HasEnded());
    EXPECT_EQ(dialog_->Result(), IDCANCEL);
}

DWORD UiSetting() {
    DWORD value = 99;
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"software\\TZR Data Manager\\TZR Data Manager\\TZRINI", L"UI",
                 RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

TEST_F(ShellMessages, SpareCommandsWriteTheUiSettingAndAskForARestart) {
    Open(L"");
    const std::wstring restart = L"\n该应用程序必须重新启动,\n以使所做改动生效！";
    for (const auto& [command, value] :
         {std::pair{1007, 1u}, std::pair{1006, 0u}, std::pair{1006, 0u}}) {
        boxes.clear();
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
        EXPECT_EQ(UiSetting(), value) << command;
        const std::vector<ShownBox> expected = {{restart, MessageIcon::Warning}};
        EXPECT_EQ(boxes, expected);
    }
}

TEST_F(ShellMessages, PrivateMessageRelabelsAndLocksTheFirstObservation) {
    Open(L"");
    Send(IDC_TIME_OF_FIRST_OBS, EM_SETREADONLY, FALSE);
    SetText(IDC_PATH_LABEL, L"x");
    EXPECT_EQ(SendMessageW(Window(), WM_TZR_RELABEL, 0, 0), 0);
    EXPECT_EQ(Text(IDC_PATH_LABEL), L"被修改的TZR文件");
    EXPECT_EQ(Text(IDC_STATION_NAME_LABEL), L"测站名");
    EXPECT_TRUE(IsReadOnly(IDC_TIME_OF_FIRST_OBS));
}

TEST_F(ShellMessages, DragIconIsTheProgramIcon) {
    Open(L"");
    EXPECT_NE(SendMessageW(Window(), WM_QUERYDRAGICON, 0, 0), 0);
    EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), 0);
}

TEST(AboutBox, ShowsTitleVersionAndIcon) {
    CAboutDlg about(nullptr);
    ASSERT_TRUE(about.CreateModeless());
    wchar_t text[256] = {};
    GetWindowTextW(about.Handle(), text, 256);
    EXPECT_STREQ(text, L"关于TZR Data Manager...");
    bool version = false;
    bool icon = false;
    for (HWND child = GetWindow(about.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextW(child, text, 256);
        version = version || std::wstring(text) == L"Version: 1.3.5";
        icon = icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
    EXPECT_TRUE(version);
    EXPECT_TRUE(icon);
    SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(about.HasEnded());
    EXPECT_EQ(about.Result(), IDOK);
}

}  // namespace

namespace {

TEST(CatalogueFile, HeldExclusivelyByAnotherProgramGivesAnEmptyCatalogue) {
    TemporaryDirectory directory;
    const std::wstring path =
        directory.WriteFile(L"TzrManagerAnt.ini", "[ANTENNA]\r\nA\r\n0\r\n0\r\n0\r\n");
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    AntennaCatalogue catalogue;
    catalogue.ReadFromFile(path);
    CloseHandle(held);
    EXPECT_EQ(catalogue.count, 0);
    catalogue.ReadFromFile(path);
    EXPECT_EQ(catalogue.count, 1);
}

}  // namespace
