// Drives the real campaign window, with its list view and worker thread, through window messages
// and keys as a user would, and compares what it writes with what tzrhdr writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CampaignWindowFixture.h"
#include "TzrhdrRun.h"
#include "campaign/Findings.h"
#include "platform/Utf8.h"
#include "ui/ClipboardText.h"
#include "ui/TZRDlg.h"

namespace {

size_t ColumnOf(std::string_view field) {
    const auto fields = SheetFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i]->name == field)
            return FieldColumn(i);
    }
    ADD_FAILURE() << field;
    return 0;
}

// Twenty files without findings, then one file for each finding that a file can show by itself
// or with the others, and one that is no raw file.
std::vector<RawSpec> CampaignSpecs() {
    std::vector<RawSpec> specs;
    for (int i = 1; i <= 20; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        RawSpec spec;
        spec.station = "S0" + number;
        spec.receiverNumber = "RN-" + number;
        spec.x = "-21487" + number + ".1";
        specs.push_back(spec);
    }
    const auto add = [&](std::string station, auto change) {
        RawSpec spec;
        spec.station = std::move(station);
        spec.receiverNumber = "RN-" + spec.station;
        change(spec);
        specs.push_back(spec);
    };
    add("NAME", [](RawSpec& s) { s.nameStation = "FILE"; });
    add("ANTE", [](RawSpec& s) { s.antenna = "NOSUCHANT"; });
    add("ZERO", [](RawSpec& s) { s.height = "0"; });
    add("HIGH", [](RawSpec& s) { s.height = "7.500"; });
    add("MEAS", [](RawSpec& s) { s.measureTo = "0"; });
    add("COOR", [](RawSpec& s) { s.x = s.y = s.z = "0"; });
    add("SPRA", [](RawSpec& s) { s.x = "-2100000.0"; });
    add("SPRB", [](RawSpec& s) {
        s.station = "SPRA";
        s.nameStation = "SPRB";
    });
    add("RECA", [](RawSpec& s) { s.receiverNumber = "RN-SHARED"; });
    add("RECB", [](RawSpec& s) {
        s.receiverNumber = "RN-SHARED";
        s.receiverType = "OTHER-9";
    });
    return specs;
}

class CampaignWindow : public CampaignWindowTest {
  protected:
    // The campaign written into `folder` of the test's directory; the folder's path.
    std::wstring WriteCampaign(const std::wstring& folder) {
        std::filesystem::create_directories(FileSystemPath(directory.PathOf(folder)));
        for (const RawSpec& spec : CampaignSpecs())
            directory.WriteFile(folder + L"\\" + RawFileName(spec), RawFileBytes(spec));
        directory.WriteFile(folder + L"\\BAD0123A.TZR", "not a raw file\r\n");
        return directory.PathOf(folder);
    }

    // Every file of a folder by name, with its bytes.
    static std::map<std::wstring, std::string> Contents(const std::wstring& folder) {
        std::map<std::wstring, std::string> contents;
        for (const std::wstring& name : FileNamesIn(folder))
            contents[name] = ReadWholeFile(folder + L"\\" + name);
        return contents;
    }

    std::wstring folder_;
};

struct FindingCase {
    std::wstring file;
    FindingCode code;
    // The cell whose status line names the finding.
    std::string_view field;
};

TEST_F(CampaignWindow, ShowsEachFindingOfAFolderOnItsRowAndCell) {
    Open({WriteCampaign(L"campaign")});
    ASSERT_EQ(RowCount(), 31);
    EXPECT_TRUE(boxes.empty());

    const FindingCase cases[] = {
        {L"FILE123A.TZR", FindingCode::NameMismatch, "station"},
        {L"ANTE123A.TZR", FindingCode::UnknownAntenna, "antenna-type"},
        {L"ZERO123A.TZR", FindingCode::HeightMissing, "antenna-height"},
        {L"HIGH123A.TZR", FindingCode::HeightRange, "antenna-height"},
        {L"MEAS123A.TZR", FindingCode::MeasureToUnknown, "measure-to"},
        {L"COOR123A.TZR", FindingCode::CoordinatesMissing, "x"},
        {L"SPRA123A.TZR", FindingCode::StationSpread, "x"},
        {L"RECB123A.TZR", FindingCode::ReceiverMismatch, "receiver-type"},
        {L"BAD0123A.TZR", FindingCode::Unreadable, "antenna-height"},
    };
    for (const FindingCase& c : cases) {
        const int item = ItemNamed(c.file);
        ASSERT_GE(item, 0) << ToUtf8(c.file);
        const std::string code(FindingCodeName(c.code));
        EXPECT_NE(ToUtf8(Cell(item, FindingsColumn())).find(code), std::string::npos)
            << ToUtf8(c.file) << " " << code;
        ClickCell(item, ColumnOf(c.field));
        EXPECT_EQ(Status().find(L"无问题"), std::wstring::npos) << ToUtf8(c.file);
    }
    ClickCell(ItemNamed(L"S001123A.TZR"), ColumnOf("antenna-height"));
    EXPECT_NE(Status().find(L"无问题"), std::wstring::npos);

    CheckDlgButton(Window(), IDC_PROBLEMS_ONLY, BST_CHECKED);
    Command(IDC_PROBLEMS_ONLY);
    EXPECT_EQ(RowCount(), 11);
}

TEST_F(CampaignWindow, SortsFindsAndCopiesRows) {
    Open({WriteCampaign(L"campaign")});
    NMLISTVIEW click = {};
    click.hdr = {List(), IDC_CAMPAIGN_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iSubItem = static_cast<int>(ColumnOf("antenna-height"));
    for (const std::wstring& first : {L"0.000", L"7.500"}) {
        SendMessageW(Window(), WM_NOTIFY, IDC_CAMPAIGN_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(Cell(0, ColumnOf("antenna-height")), first);
    }
    HDITEMW heading = {};
    heading.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(List()), ColumnOf("antenna-height"), &heading);
    EXPECT_NE(heading.fmt & HDF_SORTDOWN, 0);

    PressWithControl(List(), 'F');
    SetDlgItemTextW(Window(), IDC_FIND_TEXT, L"cs007");
    Press(GetDlgItem(Window(), IDC_FIND_TEXT), VK_RETURN);
    const int item = ListView_GetNextItem(List(), -1, LVNI_FOCUSED);
    ASSERT_GE(item, 0);
    EXPECT_EQ(Cell(item, kFileNameColumn), L"S007123A.TZR");

    PressWithControl(List(), 'C');
    const std::optional<std::wstring> copied = ClipboardText(Window());
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->rfind(L"S007123A.TZR\t", 0), 0u) << ToUtf8(*copied);
}

// A cell, a fill of several rows and a paste, saved and taken back, against tzrhdr set.
TEST_F(CampaignWindow, SavesEditsAsTzrhdrSetWritesThemAndTakesTheBatchBack) {
    const std::wstring folder = WriteCampaign(L"window");
    const std::wstring reference = WriteCampaign(L"tzrhdr");
    const std::map<std::wstring, std::string> original = Contents(folder);
    Open({folder});

    ClickCell(ItemNamed(L"S001123A.TZR"), ColumnOf("antenna-height"));
    TypeIntoCell(L"1.234");
    EXPECT_EQ(Cell(ItemNamed(L"S001123A.TZR"), ColumnOf("antenna-height")), L"1.234");

    ClickCell(ItemNamed(L"S002123A.TZR"), ColumnOf("receiver-type"));
    SelectItems(
        {ItemNamed(L"S002123A.TZR"), ItemNamed(L"S003123A.TZR"), ItemNamed(L"S004123A.TZR")});
    TypeIntoCell(L"DRQ-X9");

    ClickCell(ItemNamed(L"S005123A.TZR"), ColumnOf("station"));
    ASSERT_TRUE(SetClipboardText(Window(), L"T005\tC105\r\nT006\tC106\r\n"));
    PressWithControl(List(), 'V');

    ClickCell(ItemNamed(L"S007123A.TZR"), ColumnOf("antenna-type"));
    ChooseInCell(L"Unknown");

    Command(IDC_SAVE_ALL);
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_NE(previews[0].find(L"T005123A.TZR"), std::wstring::npos);
    ASSERT_EQ(boxes.size(), 1u) << ToUtf8(boxes.back().text);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information) << ToUtf8(boxes[0].text);
    EXPECT_FALSE(window_->Sheet().AnyEdits());
    EXPECT_GE(ItemNamed(L"T006123A.TZR"), 0);

    const std::wstring ref = reference + L"\\";
    for (const std::vector<std::wstring>& args : std::vector<std::vector<std::wstring>>{
             {L"--antenna-height", L"1.234", ref + L"S001123A.TZR"},
             {L"--receiver-type", L"DRQ-X9", ref + L"S002123A.TZR", ref + L"S003123A.TZR",
              ref + L"S004123A.TZR"},
             {L"--station", L"T005", L"--station-code", L"C105", ref + L"S005123A.TZR"},
             {L"--station", L"T006", L"--station-code", L"C106", ref + L"S006123A.TZR"},
             {L"--antenna-type", L"Unknown", ref + L"S007123A.TZR"},
         }) {
        std::vector<std::wstring> command = {L"set", L"--no-journal"};
        command.insert(command.end(), args.begin(), args.end());
        const RunResult run = RunTool(command);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    EXPECT_EQ(Contents(folder), Contents(reference));

    // An edit not saved yet stays, and nothing is taken back, unless the user lets it go.
    ClickCell(ItemNamed(L"S001123A.TZR"), ColumnOf("antenna-height"));
    TypeIntoCell(L"1.5");
    answer = IDNO;
    Command(IDC_TAKE_BACK);
    EXPECT_EQ(boxes.back().icon, MessageIcon::Question);
    EXPECT_TRUE(window_->Sheet().AnyEdits());
    EXPECT_EQ(Contents(folder), Contents(reference));
    answer = IDYES;
    Command(IDC_TAKE_BACK);
    EXPECT_EQ(batchesListed, 1u);
    EXPECT_EQ(Contents(folder), original);
    EXPECT_GE(ItemNamed(L"S005123A.TZR"), 0);
    EXPECT_EQ(ItemNamed(L"T005123A.TZR"), -1);
}

struct RefusedCase {
    std::string_view field;
    std::wstring value;
};

TEST_F(CampaignWindow, RefusesAValueOnItsCellAndUndoesAndRedoesEdits) {
    Open({WriteCampaign(L"campaign")});
    const int item = ItemNamed(L"S001123A.TZR");
    const RefusedCase cases[] = {
        {"antenna-height", L"1,5"},
        {"x", L"east"},
        {"station", L"S/1"},
    };
    for (const RefusedCase& c : cases) {
        ClickCell(item, ColumnOf(c.field));
        const std::wstring before = Cell(item, ColumnOf(c.field));
        TypeIntoCell(c.value);
        EXPECT_EQ(Status().rfind(L"未接受：", 0), 0u) << ToUtf8(c.value) << ToUtf8(Status());
        EXPECT_EQ(Cell(item, ColumnOf(c.field)), before);
    }
    EXPECT_FALSE(window_->Sheet().AnyEdits());

    ClickCell(item, ColumnOf("antenna-height"));
    TypeIntoCell(L"2");
    EXPECT_EQ(Cell(item, ColumnOf("antenna-height")), L"2.000");
    PressWithControl(List(), 'Z');
    EXPECT_EQ(Cell(item, ColumnOf("antenna-height")), L"1.500");
    PressWithControl(List(), 'Y');
    EXPECT_EQ(Cell(item, ColumnOf("antenna-height")), L"2.000");
}

// A file changed on disk since it was read, or made read-only, is kept as it is; its row says why
// on one line.
TEST_F(CampaignWindow, KeepsAFileChangedOnDiskSinceItWasReadAndSaysSo) {
    const std::wstring folder = WriteCampaign(L"campaign");
    Open({folder});
    for (const wchar_t* name : {L"S001123A.TZR", L"S002123A.TZR"}) {
        ClickCell(ItemNamed(name), ColumnOf("antenna-height"));
        TypeIntoCell(L"1.234");
    }

    RawSpec changed;
    changed.station = "S001";
    changed.receiverNumber = "RN-01";
    changed.height = "1.777";
    const std::wstring path = folder + L"\\S001123A.TZR";
    std::filesystem::remove(FileSystemPath(path));
    directory.WriteFile(L"campaign\\S001123A.TZR", RawFileBytes(changed));
    const std::wstring readOnly = folder + L"\\S002123A.TZR";
    const std::string readOnlyBytes = ReadWholeFile(readOnly);
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));

    Command(IDC_SAVE_ALL);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(path), RawFileBytes(changed));
    EXPECT_EQ(ReadWholeFile(readOnly), readOnlyBytes);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
    EXPECT_NE(Cell(ItemNamed(L"S001123A.TZR"), FindingsColumn()).find(L"F5"), std::wstring::npos);
    EXPECT_EQ(Cell(ItemNamed(L"S002123A.TZR"), FindingsColumn()), L"文件为只读，未保存");
    EXPECT_NE(boxes[0].text.find(L"\r\n    文件为只读，未保存\r\n"), std::wstring::npos);

    SelectItems({ItemNamed(L"S001123A.TZR")});
    Press(List(), VK_F5);
    EXPECT_EQ(Cell(ItemNamed(L"S001123A.TZR"), ColumnOf("antenna-height")), L"1.777");
    EXPECT_EQ(Cell(ItemNamed(L"S001123A.TZR"), FindingsColumn()), L"");
}

TEST_F(CampaignWindow, ExportsTheTableAsTzrhdrShowCsvWritesIt) {
    const std::wstring folder = WriteCampaign(L"campaign");
    Open({folder});
    csvTarget = directory.PathOf(L"table.csv");
    Command(ID_EXPORT_CSV);
    const RunResult show = RunTool({L"show", L"--csv", folder});
    EXPECT_EQ(ReadWholeFile(*csvTarget), show.out);
}

TEST_F(CampaignWindow, ShowsTheFieldLogsValuesAndTakesThemByCellOrAll) {
    Open({WriteCampaign(L"campaign")});
    logTable = directory.WriteFile(L"log.csv",
                                   "file,antenna-height,receiver-type\r\n"
                                   "S001123A.TZR,1.600,DRQ-X5\r\n"
                                   "S002123A.TZR,1.700,DRQ-X7\r\n"
                                   "NONE123A.TZR,1.800,DRQ-X5\r\n");
    Command(ID_IMPORT_LOG);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"4"), std::wstring::npos) << ToUtf8(boxes[0].text);

    const int first = ItemNamed(L"S001123A.TZR");
    const int second = ItemNamed(L"S002123A.TZR");
    ClickCell(first, ColumnOf("antenna-height"));
    EXPECT_NE(Status().find(L"1.600"), std::wstring::npos) << ToUtf8(Status());
    Command(ID_ACCEPT_LOG_CELL);
    EXPECT_EQ(Cell(first, ColumnOf("antenna-height")), L"1.600");
    EXPECT_EQ(Cell(second, ColumnOf("antenna-height")), L"1.500");

    Command(ID_ACCEPT_LOG_ALL);
    EXPECT_EQ(Cell(second, ColumnOf("antenna-height")), L"1.700");
    EXPECT_EQ(Cell(second, ColumnOf("receiver-type")), L"DRQ-X7");
    PressWithControl(List(), 'Z');
    EXPECT_EQ(Cell(second, ColumnOf("receiver-type")), L"DRQ-X5");
}

// What Explorer hands a window when files are dropped on it.
HDROP DropOf(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths)
        names += path + L'\0';
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(),
              reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES)));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(CampaignWindow, OpensWhatIsDroppedOnIt) {
    const std::wstring folder = WriteCampaign(L"campaign");
    Open({});
    EXPECT_EQ(RowCount(), 0);
    SendMessageW(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({folder})), 0);
    WaitUntilIdle();
    EXPECT_EQ(RowCount(), 31);
    // A file already in the table is not read twice.
    SendMessageW(Window(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({folder + L"\\S001123A.TZR"})), 0);
    WaitUntilIdle();
    EXPECT_EQ(RowCount(), 31);
}

struct EditorDropCase {
    std::vector<std::wstring> names;
    bool campaign;
};

TEST_F(CampaignWindow, EditorOpensOneDroppedFileAndHandsSeveralOrAFolderToTheCampaign) {
    const std::wstring folder = WriteCampaign(L"campaign");
    const EditorDropCase cases[] = {
        {{L"S001123A.TZR"}, false},
        {{L"S001123A.TZR", L"S002123A.TZR"}, true},
        {{L""}, true},
    };
    for (const EditorDropCase& c : cases) {
        std::vector<std::wstring> paths;
        for (const std::wstring& name : c.names)
            paths.push_back(name.empty() ? folder : folder + L"\\" + name);
        std::vector<std::wstring> handedOver;
        EditorServices services;
        services.showMessage = [](HWND, const std::wstring&, MessageIcon, UINT) { return IDOK; };
        services.files = &SystemFileSystem();
        services.openCampaign = [&](HWND, std::vector<std::wstring> dropped) {
            handedOver = std::move(dropped);
        };
        CTZRDlg editor(L"", services);
        ASSERT_TRUE(editor.CreateModeless());
        SendMessageW(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(paths)), 0);
        EXPECT_EQ(handedOver, c.campaign ? paths : std::vector<std::wstring>{});
        EXPECT_EQ(editor.CurrentPath(), c.campaign ? L"" : paths[0]);
        EXPECT_EQ(editor.Header().headerLoaded, !c.campaign);
    }
}

}  // namespace
