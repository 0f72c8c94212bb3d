// The Save command through the real dialog: what it writes, how it renames, what it asks and
// what it reports, with faults injected at every file operation.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "EditorDialogFixture.h"
#include "FaultyFileSystem.h"
#include "cli/Tzrhdr.h"

namespace {

class SaveCommand : public EditorDialog {
  protected:
    std::wstring OpenSample(const std::wstring& name = L"ABCD123A.TZR") {
        data = ObservationData(20000);
        const std::wstring path = directory.WriteFile(name, SampleHeader() + data);
        Open(path);
        return path;
    }

    void ExpectBusyStateWasShownAndEnded() {
        ASSERT_FALSE(waits.empty());
        EXPECT_EQ(waits[0].milliseconds, 500u);
        EXPECT_FALSE(waits[0].saveEnabled);
        EXPECT_EQ(waits[0].saveCaption, L"保存...");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Window(), IDC_SAVE)));
        EXPECT_EQ(Text(IDC_SAVE), L"保存");
    }

    std::string data;
};

TEST_F(SaveCommand, RefusesBeforeAFileIsLoaded) {
    for (const std::wstring& path :
         {std::wstring(), directory.WriteFile(L"BAD.TZR", "not raw\r\n")}) {
        Open(path);
        boxes.clear();
        Click(IDC_SAVE);
        const std::vector<ShownBox> expected = {
            {L"请导入正确的TZR格式文件,再修改点名与天线高", MessageIcon::Error}};
        EXPECT_EQ(boxes, expected);
        EXPECT_TRUE(waits.empty());
    }
}

TEST_F(SaveCommand, WritesTheHeaderAndRenamesAfterTheStation) {
    const std::wstring path = OpenSample();
    SetText(IDC_STATION_NAME, L"EFGH");
    SetText(IDC_ANTENNA_HEIGHT, L"1.2345");
    Send(IDC_MEASURE_TO, CB_SETCURSEL, 3);
    Send(IDC_ANTENNA_TYPE, CB_SETCURSEL, 5);
    Click(IDC_SAVE);

    EXPECT_TRUE(boxes.empty());
    ExpectBusyStateWasShownAndEnded();
    const std::wstring renamed = directory.PathOf(L"EFGH123A.TZR");
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(dialog_->CurrentPath(), renamed);
    EXPECT_EQ(Text(IDC_PATH), renamed);
    EXPECT_EQ(Text(IDC_ANTENNA_HEIGHT), L"1.235");
    EXPECT_EQ(dialog_->Header().measureTo, 3);
    EXPECT_EQ(dialog_->Header().antennaTypeIndex, 5);

    const std::string written = ReadWholeFile(renamed);
    EXPECT_TRUE(EndsWith(written, data));
    for (const char* line : {"MARKER NAME:EFGH\r\n", "AntHigh:1.235\r\n", "MeasureTo:3\r\n",
                             "AntType:DRQK04              \r\n", "HEIGHT OFFSET:0.000\r\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    EXPECT_EQ(written.rfind("VELMORAN COLLECTED DATA FILE\r\nver 2.1\r\nReceiverID:SN1\r\n", 0),
              0u);
    EXPECT_EQ(dialog_->Header().headerRegionLength, static_cast<int>(written.size() - data.size()));
}

struct UneditedCase {
    const char* name;
    std::wstring fileName;
    bool markerName;
    std::wstring savedName;
};

class SaveWithoutEdits : public SaveCommand, public testing::WithParamInterface<UneditedCase> {};

// The header, not the file name, names the station: a save without edits still renames.
TEST_P(SaveWithoutEdits, RenamesAfterTheHeadersStation) {
    const UneditedCase& c = GetParam();
    data = ObservationData(20000);
    std::string header = SampleHeader();
    if (!c.markerName)
        header.erase(header.find("MARKER NAME:"),
                     header.find("MARKER NUMBER:") - header.find("MARKER NAME:"));
    Open(directory.WriteFile(c.fileName, header + data));
    Click(IDC_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog_->CurrentPath(), directory.PathOf(c.savedName));
    EXPECT_TRUE(EndsWith(ReadWholeFile(dialog_->CurrentPath()), data));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveWithoutEdits,
    testing::Values(
        UneditedCase{"SameName", L"\u6D4B\u7AD9123A.TZR", true, L"\u6D4B\u7AD9123A.TZR"},
        UneditedCase{"MarkerNameDiffers", L"ABCD123A.TZR", true, L"\u6D4B\u7AD9123A.TZR"},
        UneditedCase{"ShortNameWithoutMarker", L"AB", false, L"UnKnown.TZR"}),
    [](const testing::TestParamInfo<UneditedCase>& info) { return info.param.name; });

TEST_F(SaveCommand, NoMeasureToSelectedWritesZeroAndNumbersShowWhatWasRead) {
    OpenSample();
    Send(IDC_MEASURE_TO, CB_SETCURSEL, static_cast<WPARAM>(-1));
    SetText(IDC_APPROX_X, L"12abc");
    Click(IDC_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Text(IDC_APPROX_X), L"12");
    EXPECT_NE(ReadWholeFile(dialog_->CurrentPath()).find("MeasureTo:0\r\n"), std::string::npos);
}

TEST_F(SaveCommand, AsksBeforeReplacingAnotherFileAndNoChangesNothing) {
    const std::wstring path = OpenSample();
    const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "other station");
    const std::string before = ReadWholeFile(path);
    SetText(IDC_STATION_NAME, L"EFGH");
    answer = IDNO;
    Click(IDC_SAVE);

    const std::vector<ShownBox> expected = {
        {L"文件已存在，是否覆盖？\n" + other, MessageIcon::Question}};
    EXPECT_EQ(boxes, expected);
    EXPECT_EQ(boxButtons[0] & (MB_YESNO | MB_DEFBUTTON2),
              static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_TRUE(ReadWholeFile(path) == before);
    EXPECT_EQ(ReadWholeFile(other), "other station");
    EXPECT_EQ(dialog_->CurrentPath(), path);
    ExpectBusyStateWasShownAndEnded();
}

TEST_F(SaveCommand, YesReplacesTheOtherFile) {
    const std::wstring path = OpenSample();
    const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "other station");
    SetText(IDC_STATION_NAME, L"EFGH");
    answer = IDYES;
    Click(IDC_SAVE);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(EndsWith(ReadWholeFile(other), data));
    EXPECT_EQ(dialog_->CurrentPath(), other);
}

TEST_F(SaveCommand, FileHeldOpenElsewhereIsReportedAndLeftAlone) {
    const std::wstring path = OpenSample();
    const std::string before = ReadWholeFile(path);
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetText(IDC_STATION_NAME, L"EFGH");
    Click(IDC_SAVE);
    CloseHandle(held);

    const std::vector<ShownBox> expected = {
        {L"文件正被其他程序使用，未保存：\n" + path, MessageIcon::Warning}};
    EXPECT_EQ(boxes, expected);
    EXPECT_TRUE(ReadWholeFile(path) == before);
    EXPECT_FALSE(Exists(directory.PathOf(L"EFGH123A.TZR")));
    EXPECT_EQ(dialog_->CurrentPath(), path);
    ExpectBusyStateWasShownAndEnded();
}

TEST_F(SaveCommand, EmptyAntennaListEndsTheSaveWithAMessage) {
    UseCatalogue("");
    const std::wstring path = OpenSample();
    const std::string before = ReadWholeFile(path);
    Click(IDC_SAVE);
    const std::vector<ShownBox> expected = {
        {L"天线类型列表为空，无法保存！", MessageIcon::Warning}};
    EXPECT_EQ(boxes, expected);
    EXPECT_TRUE(ReadWholeFile(path) == before);
    ExpectBusyStateWasShownAndEnded();
}

TEST_F(SaveCommand, OverlongHeaderEndsTheSaveWithAMessage) {
    const std::wstring path = OpenSample();
    const std::string before = ReadWholeFile(path);
    SetText(IDC_RECEIVER_VERSION, std::wstring(5000, L'V'));
    Click(IDC_SAVE);
    const std::vector<ShownBox> expected = {{L"文件头信息过长，无法保存！", MessageIcon::Warning}};
    EXPECT_EQ(boxes, expected);
    EXPECT_TRUE(ReadWholeFile(path) == before);
}

TEST_F(SaveCommand, UnreadableNumberIsReportedAndTheSaveGoesOn) {
    const std::wstring path = OpenSample();
    SetText(IDC_STATION_NAME, L"EFGH");
    SetText(IDC_APPROX_X, L"abc");
    Click(IDC_SAVE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNotANumber);
    const std::string written = ReadWholeFile(directory.PathOf(L"EFGH123A.TZR"));
    EXPECT_NE(written.find("X:-2148744.1234\r\n"), std::string::npos);
}

TEST_F(SaveCommand, ChineseCatalogueNameIsShownAndWrittenBackUnchanged) {
    UseCatalogue("[ANTENNA]\r\nUnknown\r\n[ANTENNA]\r\n\xB2\xE2\xCA\xD4\r\n");
    std::string header = SampleHeader();
    header.replace(header.find("AntType:DRQK08"), 14, "AntType:\xB2\xE2\xCA\xD4");
    Open(directory.WriteFile(L"ABCD123A.TZR", header + ObservationData(100)));
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), 1);
    EXPECT_EQ(ListItems(IDC_ANTENNA_TYPE)[1], L"\u6D4B\u8BD5");
    Click(IDC_SAVE);
    EXPECT_TRUE(boxes.empty());
    const std::string written = ReadWholeFile(dialog_->CurrentPath());
    EXPECT_NE(written.find("AntType:\xB2\xE2\xCA\xD4\r\n"), std::string::npos);
    EXPECT_NE(written.find("ANT TYPE:\xB2\xE2\xCA\xD4\r\n"), std::string::npos);
}

TEST_F(SaveCommand, AntennaNameTheCatalogueLacksIsOfferedAndKept) {
    std::string header = SampleHeader();
    header.replace(header.find("AntType:DRQK08"), 14, "AntType:TRM59800.00");
    Open(directory.WriteFile(L"ABCD123A.TZR", header + ObservationData(100)));
    const std::vector<std::wstring> items = ListItems(IDC_ANTENNA_TYPE);
    EXPECT_EQ(items.back(), L"TRM59800.00");
    EXPECT_EQ(Selection(IDC_ANTENNA_TYPE), static_cast<int>(items.size()) - 1);
    SetText(IDC_ANTENNA_HEIGHT, L"1.6");
    Click(IDC_SAVE);
    EXPECT_TRUE(boxes.empty());
    const std::string written = ReadWholeFile(dialog_->CurrentPath());
    EXPECT_NE(written.find("AntType:TRM59800.00\r\n"), std::string::npos);
    EXPECT_NE(written.find("ANT TYPE:TRM59800.00\r\n"), std::string::npos);
}

TEST_F(SaveCommand, SavingAgainSavesWhatWasSavedLast) {
    OpenSample();
    SetText(IDC_STATION_NAME, L"EFGH");
    Click(IDC_SAVE);
    SetText(IDC_STATION_NAME, L"IJKL");
    SetText(IDC_RECEIVER_VERSION, std::wstring(300, L'v'));
    Click(IDC_SAVE);
    SetText(IDC_RECEIVER_VERSION, L"3");
    Click(IDC_SAVE);
    EXPECT_TRUE(boxes.empty());
    const std::string written = ReadWholeFile(directory.PathOf(L"IJKL123A.TZR"));
    EXPECT_NE(written.find("REC VERS:3\r\n"), std::string::npos);
    EXPECT_TRUE(EndsWith(written, data));
}

struct RefusedSaveCase {
    const char* name;
    std::wstring station;
    // What another program does to the file after the dialog read it.
    std::string replacedHeaderStart;
    int answer;
    std::wstring message;
    int otherControl = 0;
    std::wstring otherText = L"";
};

class SaveCommandRefusals : public SaveCommand,
                            public testing::WithParamInterface<RefusedSaveCase> {};

TEST_P(SaveCommandRefusals, SaysWhyAndWritesNothing) {
    const RefusedSaveCase& c = GetParam();
    const std::wstring path = OpenSample();
    if (!c.replacedHeaderStart.empty()) {
        std::string changed = ReadWholeFile(path);
        changed.replace(0, c.replacedHeaderStart.size(), c.replacedHeaderStart);
        directory.WriteFile(L"ABCD123A.TZR", changed);
    }
    const std::string before = ReadWholeFile(path);
    SetText(IDC_STATION_NAME, c.station);
    if (c.otherControl != 0)
        SetText(c.otherControl, c.otherText);
    answer = c.answer;
    Click(IDC_SAVE);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.message + (c.replacedHeaderStart.empty() ? L"" : path));
    EXPECT_TRUE(ReadWholeFile(path) == before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FileSystemPath(path).parent_path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(dialog_->CurrentPath(), path);
    ExpectBusyStateWasShownAndEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Values, SaveCommandRefusals,
    testing::Values(
        RefusedSaveCase{"StationMovingTheFile", L"..\\P001", "", IDOK,
                        L"“点名”不能用作文件名：不能含有 \\ / : * ? \" < > |，不能是 . 或 ..，"
                        L"不能以点或空格结尾，不能是设备名（如 CON、NUL、COM1），未保存！"},
        RefusedSaveCase{"StationWithALineBreak", L"P001\r\nAntHigh:9", "", IDOK,
                        L"“点名”含有控制字符，会破坏文件头，未保存！"},
        RefusedSaveCase{"CharactersTheCodePageLacksNotAccepted", L"P\u0E01", "", IDNO,
                        L"“点名”中的字符“\u0E01”无法写入文件头，将被写为“?”。\n是否仍然保存？"},
        RefusedSaveCase{"FileChangedByAnotherProgram", L"EFGH", "CHANGED", IDOK,
                        L"文件在读取后已被其他程序修改，未保存，请重新打开该文件：\n"},
        RefusedSaveCase{"AntennaHeightWithAComma", L"EFGH", "", IDOK, kNotANumber,
                        IDC_ANTENNA_HEIGHT, L"1,5"},
        RefusedSaveCase{"AntennaHeightWithAUnit", L"EFGH", "", IDOK, kNotANumber,
                        IDC_ANTENNA_HEIGHT, L"1.5m"},
        RefusedSaveCase{"CoordinateTooLongToReadBack", L"EFGH", "", IDOK, kNotANumber, IDC_APPROX_X,
                        L"1e308"}),
    [](const testing::TestParamInfo<RefusedSaveCase>& info) { return info.param.name; });

struct SaveFaultCase {
    const char* name;
    std::wstring stationName;
    std::wstring receiverVersion;
};

class SaveCommandFaults : public SaveCommand, public testing::WithParamInterface<SaveFaultCase> {};

TEST_P(SaveCommandFaults, EveryFailureIsReportedAndLosesNothing) {
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(failAt);
        FaultyFileSystem faulty(failAt);
        files = &faulty;
        boxes.clear();
        waits.clear();
        const std::wstring path = OpenSample();
        const std::wstring unrelated = directory.WriteFile(L"UNRELATED.TZR", "unrelated");
        SetText(IDC_STATION_NAME, GetParam().stationName);
        SetText(IDC_RECEIVER_VERSION, GetParam().receiverVersion);
        Click(IDC_SAVE);

        const std::wstring target = directory.PathOf(GetParam().stationName + L"123A.TZR");
        EXPECT_TRUE(Exists(dialog_->CurrentPath()));
        EXPECT_TRUE(EndsWith(ReadWholeFile(dialog_->CurrentPath()), data));
        EXPECT_EQ(Text(IDC_PATH), dialog_->CurrentPath());
        EXPECT_EQ(ReadWholeFile(unrelated), "unrelated");
        EXPECT_FALSE(Exists(path + L".tmp"));
        ExpectBusyStateWasShownAndEnded();
        dialog_.reset();
        if (!faulty.Injected()) {
            EXPECT_TRUE(boxes.empty());
            break;
        }
        EXPECT_EQ(boxes.size(), 1u);
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
            std::filesystem::remove(entry.path());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strategies, SaveCommandFaults,
    testing::Values(SaveFaultCase{"InPlace", L"ABCD", L"3"},
                    SaveFaultCase{"InPlaceRenamed", L"EFGH", L"3"},
                    SaveFaultCase{"Copy", L"ABCD", std::wstring(300, L'v')},
                    SaveFaultCase{"CopyRenamed", L"EFGH", std::wstring(300, L'v')}),
    [](const testing::TestParamInfo<SaveFaultCase>& info) { return info.param.name; });

}  // namespace

namespace {

struct SameEditsCase {
    const char* name;
    std::wstring station;
    std::wstring height;
    std::wstring receiverVersion;
};

class SaveMatchesTzrhdr : public SaveCommand, public testing::WithParamInterface<SameEditsCase> {};

TEST_P(SaveMatchesTzrhdr, SetWritesTheSameFileUnderTheSameName) {
    const SameEditsCase& c = GetParam();
    OpenSample();
    TemporaryDirectory toolDirectory;
    const std::wstring viaTool = toolDirectory.WriteFile(L"ABCD123A.TZR", SampleHeader() + data);
    SetText(IDC_STATION_NAME, c.station);
    SetText(IDC_ANTENNA_HEIGHT, c.height);
    SetText(IDC_RECEIVER_VERSION, c.receiverVersion);
    SetText(IDC_APPROX_X, L"12.5");
    Send(IDC_MEASURE_TO, CB_SETCURSEL, 3);
    Send(IDC_ANTENNA_TYPE, CB_SETCURSEL, 5);
    Click(IDC_SAVE);
    ASSERT_TRUE(boxes.empty());

    std::ostringstream out;
    std::ostringstream err;
    const int status =
        RunTzrhdr({L"set", L"--no-journal", L"--station", c.station, L"--antenna-height", c.height,
                   L"--receiver-version", c.receiverVersion, L"--x", L"12.5", L"--measure-to", L"3",
                   L"--antenna-type", L"DRQK04              ", viaTool},
                  out, err);
    ASSERT_EQ(status, 0) << err.str();
    const std::wstring toolResult = toolDirectory.PathOf(c.station + L"123A.TZR");
    EXPECT_EQ(dialog_->CurrentPath(), directory.PathOf(c.station + L"123A.TZR"));
    EXPECT_TRUE(Exists(toolResult));
    EXPECT_TRUE(ReadWholeFile(toolResult) == ReadWholeFile(dialog_->CurrentPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SaveMatchesTzrhdr,
    testing::Values(SameEditsCase{"InPlace", L"EFGH", L"1.2345", L"3.2.2"},
                    SameEditsCase{"GbkStation", L"\u6D4B\u7AD9\u4E8C", L"2.0005", L"3.2.2"},
                    SameEditsCase{"ThroughCopy", L"EFGH", L"1.5", std::wstring(300, L'v')}),
    [](const testing::TestParamInfo<SameEditsCase>& info) { return info.param.name; });

}  // namespace
