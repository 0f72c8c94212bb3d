// Drives the real editor dialog, with real controls, through window messages. Message boxes,
// the file chooser and Notepad are stood in for, so nothing waits for a click.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "EditorDialogFixture.h"

namespace {

TEST_F(EditorDialog, ShowsEveryFieldOfAValidFile) {
    const std::wstring path =
        directory.WriteFile(L"ABCD123A.TZR", SampleHeader() + ObservationData(64));
    Open(path);

    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dialog_->Header().headerLoaded);
    EXPECT_EQ(Text(IDC_PATH), path);
    EXPECT_EQ(Text(IDC_STATION_NAME), L"\u6D4B\u7AD9");
    EXPECT_EQ(Text(IDC_STATION_CODE), L"P01");
    EXPECT_EQ(Text(IDC_ANTENNA_HEIGHT), L"1.523");
    EXPECT_EQ(Text(IDC_ANTENNA_NUMBER), L"A-99");
    EXPECT_EQ(Text(IDC_RECEIVER_NUMBER), L"RN-7");
    EXPECT_EQ(Text(IDC_RECEIVER_TYPE), L"DRQ-X5");
    EXPECT_EQ(Text(IDC_RECEIVER_VERSION), L"3.2.1");
    EXPECT_EQ(Text(IDC_APPROX_X), L"-2148744.1234");
    EXPECT_EQ(Text(IDC_APPROX_Y), L"4426641.5678");
    EXPECT_EQ(Text(IDC_APPROX_Z), L"4044656.12345679");
    EXPECT_EQ(Text(IDC_INTERVAL), L"15");
    EXPECT_EQ(Text(IDC_LEAP_SECONDS), L"18");
    EXPECT_EQ(Text(IDC_TIME_OF_FIRST_OBS), L"2026 3 5 1 2 3.0");

    EXPECT_EQ(ListItems(IDC_ANTENNA_TYPE).size(), 45u);
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 8);
    const std::vector<std::wstring> labels = {L"未知", L"天线座底部", L"天线相位中心", L"天线斜高"};
    EXPECT_EQ(ListItems(IDC_MEASURE_TO), labels);
    EXPECT_EQ(Selection(IDC_MEASURE_TO), 2);
}

TEST_F(EditorDialog, StartsEmptyWithoutAPath) {
    Open(L"");
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(dialog_->Header().headerLoaded);
    for (int id :
         {IDC_PATH, IDC_STATION_NAME, IDC_STATION_CODE, IDC_ANTENNA_HEIGHT, IDC_ANTENNA_NUMBER,
          IDC_RECEIVER_NUMBER, IDC_RECEIVER_TYPE, IDC_RECEIVER_VERSION, IDC_TIME_OF_FIRST_OBS})
        EXPECT_EQ(Text(id), L"") << id;
    for (int id : {IDC_APPROX_X, IDC_APPROX_Y, IDC_APPROX_Z, IDC_INTERVAL, IDC_LEAP_SECONDS})
        EXPECT_EQ(Text(id), L"0") << id;
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 0);
    EXPECT_EQ(Selection(IDC_MEASURE_TO), 0);
}

TEST_F(EditorDialog, InvalidFileShowsTheReadersMessage) {
    const std::wstring path = directory.WriteFile(L"NOTRAW1A.TZR", "not a raw file\r\n");
    Open(path);
    const std::vector<ShownBox> expected = {
        {L"未发现版本号(ver)，请确认文件是否为TZR格式", MessageIcon::Error}};
    EXPECT_EQ(boxes, expected);
    EXPECT_FALSE(dialog_->Header().headerLoaded);
    EXPECT_EQ(Text(IDC_PATH), path);
}

// A download or sync program may still be writing the file; reading it must not wait for that.
TEST_F(EditorDialog, FileHeldOpenForWritingElsewhereIsRead) {
    const std::wstring path = directory.WriteFile(L"ABCD123A.TZR", SampleHeader());
    const HANDLE writer =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    Open(path);
    CloseHandle(writer);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dialog_->Header().headerLoaded);
}

TEST_F(EditorDialog, IntervalLeapSecondsFirstObservationAndPathAreReadOnly) {
    Open(L"");
    for (int id : {IDC_INTERVAL, IDC_LEAP_SECONDS, IDC_TIME_OF_FIRST_OBS, IDC_PATH})
        EXPECT_TRUE(IsReadOnly(id)) << id;
    for (int id : {IDC_STATION_NAME, IDC_ANTENNA_HEIGHT, IDC_APPROX_X})
        EXPECT_FALSE(IsReadOnly(id)) << id;
}

TEST_F(EditorDialog, EmptyCatalogueGivesAnEmptyListWithoutSelection) {
    UseCatalogue("");
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    EXPECT_TRUE(ListItems(IDC_ANTENNA_TYPE).empty());
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), CB_ERR);
}

TEST_F(EditorDialog, ListEndsOnTheLastEntryOfTheSameName) {
    UseCatalogue(
        "[ANTENNA]\r\nUnknown\r\n[ANTENNA]\r\nDRQK08\r\n[ANTENNA]\r\nX\r\n[ANTENNA]\r\nDRQK08\r\n");
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    EXPECT_EQ(dialog_->Header().antennaTypeIndex, 1);
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 3);
}

TEST_F(EditorDialog, ExitSavingTakesTheFieldsAndCloses) {
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    SetText(IDC_STATION_NAME, L"EFGH");
    SetText(IDC_APPROX_X, L"12abc");
    answer = IDYES;
    Click(IDOK);
    ASSERT_TRUE(dialog_->HasEnded());
    EXPECT_EQ(dialog_->Result(), IDOK);
    EXPECT_EQ(dialog_->Header().stationName, L"EFGH");
    EXPECT_EQ(dialog_->Header().approxX, 12.0);
    EXPECT_EQ(dialog_->Header().approxZ, 4044656.12345679);
    EXPECT_EQ(boxes.size(), 1u);
}

struct BadNumberCase {
    int control;
    std::wstring message;
};

class EditorDialogBadNumbers : public EditorDialog,
                               public testing::WithParamInterface<BadNumberCase> {};

TEST_P(EditorDialogBadNumbers, ExitStaysOpenOnTheUnreadableField) {
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    const int control = GetParam().control;
    SendDlgItemMessageW(Window(), control, EM_SETREADONLY, FALSE, 0);
    SetText(IDC_STATION_NAME, L"EFGH");
    SetText(control, L"abc");
    SetText(IDC_LEAP_SECONDS == control ? IDC_APPROX_X : IDC_LEAP_SECONDS, L"77");
    Click(IDOK);

    EXPECT_FALSE(dialog_->HasEnded());
    const std::vector<ShownBox> expected = {{GetParam().message, MessageIcon::Warning}};
    EXPECT_EQ(boxes, expected);
    EXPECT_EQ(GetFocus(), GetDlgItem(Window(), control));
    DWORD start = 1;
    DWORD end = 0;
    Send(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(dialog_->Header().stationName, L"EFGH");
    EXPECT_EQ(dialog_->Header().leapSeconds, 18);
}

INSTANTIATE_TEST_SUITE_P(Fields, EditorDialogBadNumbers,
                         testing::Values(BadNumberCase{IDC_APPROX_X, kNotANumber},
                                         BadNumberCase{IDC_INTERVAL, kNotANumber},
                                         BadNumberCase{IDC_LEAP_SECONDS, kNotAnInteger}));

TEST_F(EditorDialog, EnterInAnEditIsExit) {
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    const HWND edit = GetDlgItem(Window(), IDC_STATION_NAME);
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    ASSERT_TRUE(dialog_->HasEnded());
    EXPECT_EQ(dialog_->Result(), IDOK);
}

struct LeavingCase {
    const char* name;
    int command;
    bool saveFirst;
    std::wstring height;
    int answer;
    bool asked;
    bool ends;
    const char* heightOnDisk;
};

class EditorDialogLeaving : public EditorDialog, public testing::WithParamInterface<LeavingCase> {};

TEST_P(EditorDialogLeaving, AsksOnlyAboutEditsThatWereNotSaved) {
    const LeavingCase& c = GetParam();
    Open(directory.WriteFile(L"ABCD123A.TZR", SampleHeader() + ObservationData(100)));
    SetText(IDC_ANTENNA_HEIGHT, c.height);
    if (c.saveFirst)
        Click(IDC_SAVE);
    answer = c.answer;
    boxes.clear();
    Click(c.command);
    ASSERT_EQ(!boxes.empty(), c.asked);
    if (c.asked) {
        EXPECT_TRUE(boxes[0].text.starts_with(L"文件头的修改尚未保存，是否保存？\n"));
    }
    EXPECT_EQ(dialog_->HasEnded(), c.ends);
    EXPECT_NE(ReadWholeFile(dialog_->CurrentPath()).find(std::string("AntHigh:") + c.heightOnDisk),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EditorDialogLeaving,
    testing::Values(
        LeavingCase{"ExitUnchanged", IDOK, false, L"1.523", IDCANCEL, false, true, "1.523"},
        LeavingCase{"EscUnchanged", IDCANCEL, false, L"1.523", IDCANCEL, false, true, "1.523"},
        LeavingCase{"ExitAfterSaving", IDOK, true, L"1.6", IDCANCEL, false, true, "1.600"},
        LeavingCase{"ExitYesSaves", IDOK, false, L"1.6", IDYES, true, true, "1.600"},
        LeavingCase{"EscNoDrops", IDCANCEL, false, L"1.6", IDNO, true, true, "1.523"},
        LeavingCase{"ExitCancelStays", IDOK, false, L"1.6", IDCANCEL, true, false, "1.523"},
        LeavingCase{"EscYesRefusedStays", IDCANCEL, false, L"1,6", IDYES, true, false, "1.523"}),
    [](const testing::TestParamInfo<LeavingCase>& info) { return info.param.name; });

TEST_F(EditorDialog, CancelClosesWithoutTakingFields) {
    Open(directory.WriteFile(L"ABCD123A.TZR", SampleHeader()));
    SetText(IDC_STATION_NAME, L"CHANGED");
    SetText(IDC_APPROX_X, L"abc");
    answer = IDNO;
    Click(IDCANCEL);
    ASSERT_TRUE(dialog_->HasEnded());
    EXPECT_EQ(dialog_->Result(), IDCANCEL);
    EXPECT_EQ(dialog_->Header().stationName, L"\u6D4B\u7AD9");
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(EditorDialog, BrowseReadsTheChosenFile) {
    Open(directory.WriteFile(L"ABCD123A.TZR", SampleHeader()));
    chosenFile = directory.WriteFile(
        L"OLD0012A.TZR",
        CrLfLines({"ver 1.0", "ReceiverID:SN9", "Date:2019-01-12", "AntType:3", "MeasuredTo:1"}));
    Click(IDC_BROWSE);
    EXPECT_EQ(dialog_->CurrentPath(), *chosenFile);
    EXPECT_EQ(Text(IDC_PATH), *chosenFile);
    EXPECT_EQ(Text(IDC_STATION_NAME), L"OLD0");
    EXPECT_EQ(Text(IDC_STATION_CODE), L"");
    EXPECT_EQ(Text(IDC_RECEIVER_NUMBER), L"SN9");
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 4);
    EXPECT_EQ(Selection(IDC_MEASURE_TO), 1);
    EXPECT_TRUE(dialog_->Header().headerLoaded);
}

TEST_F(EditorDialog, BrowseCancelledChangesNothing) {
    const std::wstring path = directory.WriteFile(L"ABCD123A.TZR", SampleHeader());
    Open(path);
    SetText(IDC_STATION_NAME, L"TYPED");
    chosenFile.reset();
    Click(IDC_BROWSE);
    EXPECT_EQ(dialog_->CurrentPath(), path);
    EXPECT_EQ(Text(IDC_PATH), path);
    EXPECT_EQ(Text(IDC_STATION_NAME), L"TYPED");
}

TEST_F(EditorDialog, BrowseToAnInvalidFileKeepsThePreviousControls) {
    Open(directory.WriteFile(L"ABCD123A.TZR", SampleHeader()));
    chosenFile = directory.WriteFile(L"BAD.TZR", "ver 1\r\n");
    Click(IDC_BROWSE);
    const std::vector<ShownBox> expected = {
        {L"未发现SN号(ReceiverID)，请确认文件是否为TZR格式", MessageIcon::Error}};
    EXPECT_EQ(boxes, expected);
    EXPECT_FALSE(dialog_->Header().headerLoaded);
    EXPECT_EQ(Text(IDC_PATH), *chosenFile);
    EXPECT_EQ(Text(IDC_STATION_CODE), L"P01");
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 0);
    EXPECT_EQ(Selection(IDC_MEASURE_TO), 0);
}

TEST_F(EditorDialog, OpenInEditorShowsAReadOnlyCopyOfTheHeader) {
    const std::wstring path =
        directory.WriteFile(L"ABCD 123A.TZR", SampleHeader() + ObservationData(600));
    Open(path);
    Click(IDC_OPEN_IN_EDITOR);
    ASSERT_EQ(editorFiles.size(), 1u);
    const std::wstring copy = editorFiles[0];
    EXPECT_TRUE(copy.ends_with(L"\\ABCD 123A.TZR.txt")) << copy;
    EXPECT_TRUE(ReadWholeFile(copy) == SampleHeader());
    EXPECT_NE(GetFileAttributesW(copy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(boxes.empty());
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy.c_str());
}

TEST_F(EditorDialog, OpenInEditorFailureIsReported) {
    Open(directory.WriteFile(L"A.TZR", SampleHeader()));
    editorResult = 2;
    Click(IDC_OPEN_IN_EDITOR);
    const std::vector<ShownBox> expected = {
        {L"无法打开，没有相关联的应用程序，或文件可能已被移除", MessageIcon::Error}};
    EXPECT_EQ(boxes, expected);
    EXPECT_FALSE(dialog_->HasEnded());
}

TEST_F(EditorDialog, OpenInEditorWithoutAFileDoesNothing) {
    Open(L"");
    Click(IDC_OPEN_IN_EDITOR);
    EXPECT_TRUE(editorFiles.empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorDialog, SystemMenuEndsWithTheAboutItem) {
    Open(L"");
    const HMENU menu = GetSystemMenu(Window(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[128] = {};
    GetMenuStringW(menu, count - 1, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"关于TZR Data Manager(&A)...");
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, count - 2, TRUE, &separator);
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
}

}  // namespace
